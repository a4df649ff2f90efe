#pragma once

// The system's own file chooser, as the rendering's native_file_chooser.h
// declares it: class SystemFileChooser : public FileChooser.
#include "native_file_chooser.h"
