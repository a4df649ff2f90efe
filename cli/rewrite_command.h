#pragma once

#include "options.h"
#include "standard_output.h"

namespace morvane::cli {

// Rewrites every model the options name; false when any was not written.
bool RewriteModels(const Options& options, StandardOutput& output);

}  // namespace morvane::cli
