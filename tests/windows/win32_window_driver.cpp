#include "win32_window_driver.h"

namespace morvane::ui::scenarios {

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<Win32WindowDriver>();
}

// The tests' Wine prefix is their own; the key goes as a user removes it.
void ForgetKeptSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\morvane\\morvane");
}

}  // namespace morvane::ui::scenarios
