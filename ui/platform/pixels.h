#pragma once

namespace morvane::ui {

// Places and sizes on the screen, in the rendering's pixels.
struct PixelPoint {
    int x;
    int y;
    bool operator==(const PixelPoint&) const = default;
};

struct PixelSize {
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

}  // namespace morvane::ui
