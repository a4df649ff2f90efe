#pragma once

#include "platform/pixels.h"

// Where the renderings place their windows on the screen: the main window in
// the middle of the work area of a monitor, or cascaded from the window of
// another morvane; the About box over the main window.
namespace morvane::ui {

// The top-left corner of a window of the given size centred over area.
PixelPoint CentredIn(PixelSize window, const PixelRect& area);

// The top-left corner that keeps a window inside the work area, moved as
// little as it takes; a window larger than the area keeps its top-left
// corner in it, so that its caption can be reached.
PixelPoint KeptIn(PixelPoint at, PixelSize window, const PixelRect& workArea);

// The next window of a cascade: step to the right of and below the one
// before, so that the caption of that one still shows; where it would leave
// the work area, at the work area's top-left corner.
PixelPoint CascadedFrom(PixelPoint before, PixelSize window, int step, const PixelRect& workArea);

}  // namespace morvane::ui
