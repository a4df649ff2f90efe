#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ui {

// What the window's command line asks for: the window with its models, or
// only a text, as every desktop program answers --help and --version.
struct WindowRequest {
    enum class Kind { OpenWindow, Help, Version, UsageError };

    Kind kind = Kind::OpenWindow;
    std::vector<std::filesystem::path> models;
    std::string problem;  // for a usage error
};

// Reads the words after the program's name. The toolkit's own options and
// their values are left to it; "--" ends the options, so that a model whose
// name begins with "-" can be opened.
WindowRequest ReadWindowArguments(const std::vector<std::string>& words);

// What to tell for a request that opens no window, and the program's exit
// status for it.
std::string TextWithoutWindow(const WindowRequest& request);
int ExitStatusWithoutWindow(const WindowRequest& request);

}  // namespace morvane::ui
