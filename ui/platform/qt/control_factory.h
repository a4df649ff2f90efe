#pragma once

#include <QWidget>
#include <string_view>

#include "dialog_units.h"
#include "resources/dialog_templates.h"

namespace morvane::ui {

// The widget a template control stands for, placed in parent at its
// rectangle, named after it, and speaking the user's language: its texts are
// found under the dialog's context.
QWidget* CreateControl(QWidget& parent, const res::ControlTemplate& control,
                       std::string_view context, DialogBaseUnits units);

}  // namespace morvane::ui
