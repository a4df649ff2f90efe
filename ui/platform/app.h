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

// What a text that opens no window is: a note such as the version, the
// usage, laid out in columns, or a problem such as a wrong option.
enum class TextKind { Note, Usage, Problem };

// Tells a text that opens no window: on standard output, or standard error
// for a problem, on Linux. On Windows, where the window has no console to
// print to, in a message box; the usage in a box of its own, whose letters
// are all as wide, so that its columns line up.
void TellWithoutWindow(const std::string& text, TextKind kind);

}  // namespace morvane::ui
