#include <windows.h>
//
#include <commctrl.h>
#include <shellapi.h>

#include "native_app.h"

namespace morvane::ui {

CWinApp::CWinApp(int&, char**) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
}

std::vector<std::filesystem::path> CWinApp::CommandLinePaths() const {
    int count = 0;
    LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::filesystem::path> paths;
    for (int i = 1; words != nullptr && i < count; ++i) {
        paths.emplace_back(words[i]);
    }
    ::LocalFree(words);
    return paths;
}

}  // namespace morvane::ui
