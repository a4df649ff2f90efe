#pragma once

#include <QApplication>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::ui {

// The toolkit removes the options that are its own (-style, -platform...)
// from argc and argv as it starts.
class CWinApp : public QApplication {
public:
    CWinApp(int& argc, char** argv);
};

// On Linux the words are the bytes given, so that a name in any encoding
// still names its file.
std::vector<std::string> CommandLineWords(int argc, char** argv);

std::optional<bool> ToolkitOption(std::string_view name);
std::string_view ToolkitOptionsHelp();

// On standard output, or standard error for a problem.
void TellWithoutWindow(const std::string& text, bool problem);

}  // namespace morvane::ui
