#include <windows.h>
//
#include <commctrl.h>
#include <shellapi.h>

#include "model/files/path_text.h"
#include "native_app.h"
#include "wide_text.h"

namespace morvane::ui {

CWinApp::CWinApp(int&, char**) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
}

std::vector<std::string> CommandLineWords(int, char**) {
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int i = 1; words != nullptr && i < count; ++i) {
        texts.push_back(TextOf(std::filesystem::path(words[i])));
    }
    ::LocalFree(words);
    return texts;
}

std::optional<bool> ToolkitOption(std::string_view) {
    return std::nullopt;
}

std::string_view ToolkitOptionsHelp() {
    return "";
}

void TellWithoutWindow(const std::string& text, bool problem) {
    ::MessageBoxW(nullptr, Widen(text).c_str(), L"morvane",
                  static_cast<UINT>(MB_OK | (problem ? MB_ICONERROR : MB_ICONINFORMATION)));
}

}  // namespace morvane::ui
