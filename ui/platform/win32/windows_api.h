#pragma once

// What the Win32 rendering's sources, and its tests, share. Included first:
// where the system's headers define the window system's numbers, the
// framework takes theirs.
#include <windows.h>
//
#include <shellapi.h>

// The system's headers spell some of the framework's names as macros for
// their wide functions; the rendering calls those by their wide names, and
// the framework keeps its own wherever this header is included.
#undef AppendMenu
#undef GetDlgItemText
#undef LoadIcon
#undef SetDlgItemText
#undef SetWindowText

#include <string>
#include <string_view>

#include "model/files/path_text.h"
#include "platform/dialog.h"
#include "platform/icons.h"

namespace morvane::ui {

// The icon resource, loaded at the size each window's display wants.
struct CIcon::Native {
    int id;
};

// The icon drawn for the DPI at the size of a window's big or small icon,
// from the nearest of the images the resource carries; the caller owns it.
HICON LoadIconForDpi(const CIcon& icon, bool big, UINT dpi);

// The dialog's window while DoModal shows it; null before and after.
HWND NativeWindow(const CDialog& dialog);

// The text of a window or control: a caption, a field's contents.
std::wstring WindowText(HWND window);

// The window keeps its texts in UTF-8, as the file layer does its paths; the
// system's calls take UTF-16.
inline std::wstring Widen(std::string_view text) {
    return PathFromText(std::string(text)).native();
}
inline std::string Narrow(std::wstring_view text) {
    return TextOf(std::filesystem::path(text));
}

}  // namespace morvane::ui
