#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>

#include "collision_volumes.h"

namespace morvane {

// Rewrites the model file at input into the file at output, safely: the input
// is only read; an output that is the input under any name is refused, and so
// is anything but a regular file on either side, or a symbolic link that leads
// nowhere; the new model is written to an unnamed temporary file in the
// output's folder, synced, and only then given the output name, so on any
// refusal or failure the output name keeps whatever it held before. A replaced
// file's owner, group, mode and extended attributes (access control lists
// among them) carry over, or the rewrite is refused. Throws ModelError,
// FileError or std::invalid_argument (count outside 1..1000); every message
// names the file it is about.
//
// progress, when given, is told how many of the input's bytes have been read
// as the rewrite goes on, and once more before the output is named; answering
// false cancels the rewrite, which then throws Cancelled and leaves the output
// name untouched.
using RewriteProgress = std::function<bool(std::int64_t bytesRead, std::int64_t inputBytes)>;

PassSummary RewriteModelFile(const std::filesystem::path& input,
                             const std::filesystem::path& output, int volumes,
                             std::ostream& trace = std::cout, const RewriteProgress& progress = {});

}  // namespace morvane
