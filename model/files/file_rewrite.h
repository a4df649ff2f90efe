#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>

#include "model/collision_volumes.h"
#include "model/files/model_file.h"
#include "model/files/safe_output.h"

namespace morvane {

// Told how many of the input's bytes have been read as a rewrite goes on;
// answering false cancels the rewrite, which then throws Cancelled and leaves
// the output name untouched.
using RewriteProgress = std::function<bool(std::int64_t bytesRead, std::int64_t inputBytes)>;

// What a rewrite wrote, and where an output name that is a symbolic link led.
struct WrittenModel {
    PassSummary summary;
    std::filesystem::path linkTarget;  // empty when the output name is no link
};

// Rewrites the model into the file at output the way SafeOutput takes, so that
// on any refusal or failure the output name keeps whatever it held. progress
// hears once more after the new model is synced, before it takes the name.
// Throws ModelError, FileError, Cancelled, or std::invalid_argument for a
// count outside the format's range; every message names its file.
WrittenModel RewriteModelFile(ModelFile input, const std::filesystem::path& output, int volumes,
                              std::ostream& trace, const RewriteProgress& progress = {});

// The pass of a rewrite, from input into output's temporary file; a model that
// another program changed meanwhile is refused.
PassSummary WriteNewModel(ModelFile& input, SafeOutput& output, int volumes, std::ostream& trace,
                          const RewriteProgress& progress);

// Asks progress whether to go on, all of input read; throws Cancelled if not.
void RequireGoingOn(const RewriteProgress& progress, const ModelFile& input);

}  // namespace morvane
