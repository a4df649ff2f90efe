#pragma once

// A dialog built at run time from a template in the resources. Each rendering
// declares CDialog and CMenu in its own native_dialog.h, the build picking
// one, with the same members (documented with the Qt rendering's), so that
// the dialogs are one source on every platform.
#include "native_dialog.h"
