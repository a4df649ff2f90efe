#pragma once

#include <QString>

#include "file_chooser.h"

class QFileDialog;

namespace morvane::ui {

// The desktop's own file dialog.
class QtFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

void ConfigureFileDialog(QFileDialog& dialog, const ChooserRequest& request);

std::filesystem::path ToPath(const QString& text);

}  // namespace morvane::ui
