#include "windows_api.h"
//
#include <commctrl.h>

#include "platform/app.h"
#include "text_box.h"

namespace morvane::ui {

// The program keeps nothing of its own with the system; the controls its
// dialogs and progress window use are registered as it starts.
struct CWinApp::Native {
    Native() {
        const INITCOMMONCONTROLSEX classes{sizeof classes,
                                           ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&classes);
    }
};

CWinApp::CWinApp(int&, char**) : m_native(std::make_unique<Native>()) {}

CWinApp::~CWinApp() = default;

// Windows always has a desktop for the window of a program it starts.
bool CanOpenWindows(int, const char* const*) {
    return true;
}

std::optional<bool> ToolkitOption(std::string_view) {
    return std::nullopt;
}

std::string_view ToolkitOptionsHelp() {
    return "";
}

void TellWithoutWindow(const std::string& text, TextKind kind) {
    if (kind == TextKind::Usage) {
        ShowTextInColumns(L"morvane", text);
        return;
    }
    ::MessageBoxW(
        nullptr, Widen(text).c_str(), L"morvane",
        static_cast<UINT>(MB_OK | (kind == TextKind::Problem ? MB_ICONERROR : MB_ICONINFORMATION)));
}

}  // namespace morvane::ui
