#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace morvane::ui {

struct ChooserRequest {
    enum class Accepts {
        ExistingFile,         // a model to read
        NameInExistingFolder  // a name to write, which may already be taken
    };

    std::string title;
    Accepts accepts;
    // Where the chooser starts; empty leaves it to the system.
    std::filesystem::path folder = {};
};

// Asks the user for a file. The window goes through this so that its
// behaviour can be checked without anyone at the keyboard.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The full path the user confirmed, or nothing when they cancelled.
    virtual std::optional<std::filesystem::path> Choose(const ChooserRequest& request) = 0;
};

// A path as the window shows it, with the system's own separators.
std::string DisplayText(const std::filesystem::path& path);

// A path named from the current folder as a chooser gives it: absolute,
// without "." steps. A ".." step stays, as only the system knows where it
// leads when the folder before it is a link.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

}  // namespace morvane::ui
