#include "dialog_units.h"

#include <cmath>

namespace morvane::ui {
namespace {

// value * numerator / denominator, rounded half away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    const double exact = static_cast<double>(value) * numerator / denominator;
    return static_cast<int>(std::lround(exact));
}

int HorizontalPixels(int units, DialogBaseUnits base) {
    return ScaleRounded(units, base.x, 4);
}
int VerticalPixels(int units, DialogBaseUnits base) {
    return ScaleRounded(units, base.y, 8);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFontMetrics& metrics) {
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(letters / 26 + 1) / 2, metrics.height()};
}

// The corners are converted, not the extent, so that controls which meet in
// dialog units still meet in pixels after rounding.
QRect ToPixels(const res::DialogRect& rect, DialogBaseUnits units) {
    const int left = HorizontalPixels(rect.left, units);
    const int top = VerticalPixels(rect.top, units);
    const int right = HorizontalPixels(rect.left + rect.width, units);
    const int bottom = VerticalPixels(rect.top + rect.height, units);
    return {QPoint(left, top), QSize(right - left, bottom - top)};
}

QSize ToPixels(int width, int height, DialogBaseUnits units) {
    return {HorizontalPixels(width, units), VerticalPixels(height, units)};
}

}  // namespace morvane::ui
