#pragma once

#include <vector>

namespace morvane::ui {

// Dialog units kept free on each side of a button's text, and after a text
// that had to be given more room.
constexpr int kButtonTextMargin = 4;
constexpr int kWidenedTextGap = 2;

// A control as it stands in its window, in the rendering's units.
struct PlacedControl {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int textWidth = 0;       // the room its text needs; 0 for a control without text
    bool stretches = false;  // a field, which may take the room the window gains
};

// A translation may need more room than the English the windows were laid out
// for. Each control whose text does not fit is widened, and what stands to its
// right on its line moves along; the window grows as much as its longest line
// did, and what ended at the right margin still ends there, a field by taking
// the room, a button by moving. A widened control keeps a gap after its text;
// controls whose texts fit stay where they are. Returns the window's new width.
int FitToTexts(std::vector<PlacedControl>& controls, int windowWidth, int gap);

}  // namespace morvane::ui
