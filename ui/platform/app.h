#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::ui {

// The program around its windows, for as long as any of them is open. On
// Linux the toolkit takes the options that are its own (-style, -platform...)
// out of argc and argv as it starts.
class CWinApp {
public:
    CWinApp(int& argc, char** argv);
    ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

private:
    struct Native;
    std::unique_ptr<Native> m_native;
};

// Whether a window can open at all; when it cannot, as on Linux without a
// desktop, the user has been told so.
bool CanOpenWindows(int argc, const char* const* argv);

// Whether the toolkit takes the option for itself, and then whether with a
// value; Windows has no toolkit of its own options.
std::optional<bool> ToolkitOption(std::string_view name);
std::string_view ToolkitOptionsHelp();

// Tells a text that opens no window (the help, the version, a usage error):
// on standard output, or standard error for a problem, on Linux; in a message
// box on Windows, where the window has no console to print to.
void TellWithoutWindow(const std::string& text, bool problem);

}  // namespace morvane::ui
