#pragma once

#include "options.h"
#include "standard_output.h"

namespace morvane::cli {

// Prints the chunk listing of every model the options name, as a table or as
// JSON; false when any model was refused or could not be read.
bool ListModels(const Options& options, StandardOutput& output);

}  // namespace morvane::cli
