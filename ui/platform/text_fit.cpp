#include "platform/text_fit.h"

#include <algorithm>
#include <numeric>

namespace morvane::ui {
namespace {

int RightOf(const PlacedControl& control) {
    return control.left + control.width;
}

bool OnTheSameLine(const PlacedControl& a, const PlacedControl& b) {
    return a.top < b.top + b.height && b.top < a.top + a.height;
}

int RightMost(const std::vector<PlacedControl>& controls) {
    int right = 0;
    for (const PlacedControl& control : controls) {
        right = std::max(right, RightOf(control));
    }
    return right;
}

// Widens one control and moves those after it on its line by as much.
void Widen(std::vector<PlacedControl>& controls, std::size_t index, int gap) {
    PlacedControl& control = controls[index];
    if (control.textWidth <= control.width) {
        return;
    }
    const int growth = control.textWidth + gap - control.width;
    const int oldRight = RightOf(control);
    control.width += growth;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (i != index && controls[i].left >= oldRight && OnTheSameLine(controls[i], control)) {
            controls[i].left += growth;
        }
    }
}

}  // namespace

int FitToTexts(std::vector<PlacedControl>& controls, int windowWidth, int gap) {
    const std::vector<PlacedControl> laidOut = controls;
    const int rightMargin = RightMost(laidOut);
    std::vector<std::size_t> leftToRight(controls.size());
    std::iota(leftToRight.begin(), leftToRight.end(), 0);
    std::stable_sort(leftToRight.begin(), leftToRight.end(), [&](std::size_t a, std::size_t b) {
        return laidOut[a].left < laidOut[b].left;
    });
    for (const std::size_t index : leftToRight) {
        Widen(controls, index, gap);
    }
    const int growth = std::max(0, RightMost(controls) - rightMargin);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        PlacedControl& control = controls[i];
        if (growth == 0 || RightOf(laidOut[i]) != rightMargin) {
            continue;
        }
        const int newRight = rightMargin + growth;
        if (control.stretches) {
            control.width = newRight - control.left;
        } else {
            control.left = std::max(control.left, newRight - control.width);
        }
    }
    return windowWidth + growth;
}

}  // namespace morvane::ui
