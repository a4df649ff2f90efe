#pragma once

#include "qt_file_chooser.h"

namespace morvane::ui {

using SystemFileChooser = QtFileChooser;

}  // namespace morvane::ui
