#pragma once

#include <QFontMetrics>
#include <QRect>

#include "resources/dialog_templates.h"

namespace morvane::ui {

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct DialogBaseUnits {
    int x;
    int y;
};

// Horizontal: the average width of the 52 Latin letters, rounded; vertical:
// the font's height. This is how the templates' units were meant to scale.
DialogBaseUnits BaseUnitsOf(const QFontMetrics& metrics);

QRect ToPixels(const res::DialogRect& rect, DialogBaseUnits units);
QSize ToPixels(int width, int height, DialogBaseUnits units);

}  // namespace morvane::ui
