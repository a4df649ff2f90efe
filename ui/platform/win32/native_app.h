#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ui {

class CWinApp {
public:
    CWinApp(int& argc, char** argv);
};

// The command line is read as the system keeps it, in UTF-16, so that a model
// named in any script is found; argc and argv are not used.
std::vector<std::string> CommandLineWords(int argc, char** argv);

// Windows has no toolkit of its own options.
std::optional<bool> ToolkitOption(std::string_view name);
std::string_view ToolkitOptionsHelp();

// In a message box: the window has no console to print to.
void TellWithoutWindow(const std::string& text, bool problem);

}  // namespace morvane::ui
