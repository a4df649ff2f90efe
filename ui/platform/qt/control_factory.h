#pragma once

#include <QWidget>

#include "dialog_units.h"
#include "resources/dialog_templates.h"

namespace morvane::ui {

// The widget a template control stands for, placed in parent at its
// rectangle and named after it.
QWidget* CreateControl(QWidget& parent, const res::ControlTemplate& control, DialogBaseUnits units);

}  // namespace morvane::ui
