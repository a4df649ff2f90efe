// Waits for the morvane window of any program, prints what its status field
// says, and closes it: how a test outside Windows sees which model a window
// that Windows opened has chosen.
#include <windows.h>

#include <cstdio>
#include <string>

#include "model/files/path_text.h"

namespace {

HWND found = nullptr;

BOOL CALLBACK Look(HWND window, LPARAM) {
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    if (::IsWindowVisible(window) && std::wstring(title) == L"morvane" &&
        ::GetDlgItem(window, 1003) != nullptr) {
        found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main() {
    for (int waited = 0; found == nullptr && waited < 3000; ++waited) {
        ::EnumWindows(Look, 0);
        ::Sleep(10);
    }
    if (found == nullptr) {
        std::fputs("no window\n", stdout);
        return 1;
    }
    wchar_t status[2048] = {};
    ::GetDlgItemTextW(found, 1002, status, 2048);
    std::printf("%s\n", morvane::TextOf(std::filesystem::path(status)).c_str());
    ::PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
    return 0;
}
