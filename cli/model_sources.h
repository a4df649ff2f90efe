#pragma once

#include "model/files/model_list.h"
#include "options.h"

namespace morvane::cli {

// The models the options name, in order: each model argument (a folder
// standing for the models under it with -r), then each name of the
// --files-from list. What cannot be read is said on standard error, and
// `allFound` is then false; the models found are still given.
ModelList CollectModels(const Options& options, bool& allFound);

}  // namespace morvane::cli
