#pragma once

#include <windows.h>

#include "platform/icons.h"

namespace morvane::ui {

// Shared icons: the system keeps them for the life of the program.
struct CIcon::Native {
    HICON big;
    HICON small;
};

}  // namespace morvane::ui
