#include "platform/window_placement.h"

#include <algorithm>

namespace morvane::ui {

PixelPoint CentredIn(PixelSize window, const PixelRect& area) {
    return {area.left + (area.width - window.width) / 2,
            area.top + (area.height - window.height) / 2};
}

PixelPoint KeptIn(PixelPoint at, PixelSize window, const PixelRect& workArea) {
    const int right = workArea.left + workArea.width - window.width;
    const int bottom = workArea.top + workArea.height - window.height;
    return {std::max(workArea.left, std::min(at.x, right)),
            std::max(workArea.top, std::min(at.y, bottom))};
}

PixelPoint CascadedFrom(PixelPoint before, PixelSize window, int step, const PixelRect& workArea) {
    const PixelPoint next{before.x + step, before.y + step};
    const bool fits = next.x + window.width <= workArea.left + workArea.width &&
                      next.y + window.height <= workArea.top + workArea.height;
    return fits ? next : PixelPoint{workArea.left, workArea.top};
}

}  // namespace morvane::ui
