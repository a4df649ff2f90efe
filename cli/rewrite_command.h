#pragma once

#include "options.h"
#include "standard_output.h"

// Rewrites every model the options name; false when any was not written.
bool RewriteModels(const Options& options, StandardOutput& output);
