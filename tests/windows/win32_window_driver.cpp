#include "win32_window_driver.h"

namespace morvane::ui::scenarios {

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<Win32WindowDriver>();
}

}  // namespace morvane::ui::scenarios
