#pragma once

#include <windows.h>

#include "platform/icons.h"

namespace morvane::ui {

// The icon resource, loaded at the size each window's display wants.
struct CIcon::Native {
    int id;
};

// The icon drawn for the DPI at the size of a window's big or small icon,
// from the nearest of the images the resource carries; the caller owns it.
HICON LoadIconForDpi(const CIcon& icon, bool big, UINT dpi);

}  // namespace morvane::ui
