#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QFileDialog;

namespace morvane::ui {

struct ChooserRequest {
    enum class Accepts {
        ExistingFile,         // a model to read
        NameInExistingFolder  // a name to write, which may already be taken
    };

    QString title;
    Accepts accepts;
};

// Asks the user for a file. The window goes through this so that its
// behaviour can be checked without anyone at the keyboard.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The full path the user confirmed, or nothing when they cancelled.
    virtual std::optional<std::filesystem::path> Choose(const ChooserRequest& request) = 0;
};

// The desktop's own file dialog.
class QtFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

void ConfigureFileDialog(QFileDialog& dialog, const ChooserRequest& request);

std::filesystem::path ToPath(const QString& text);
QString ToDisplayText(const std::filesystem::path& path);

}  // namespace morvane::ui
