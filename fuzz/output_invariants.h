#pragma once

#include <string>
#include <string_view>

#include "model/collision_volumes.h"

namespace morvane::fuzzing {

// Reads an output of the pass without trusting the pass's own code and names
// the first rule that every accepted model's output must keep but this one
// breaks; empty when it keeps them all.
std::string FindBrokenRule(std::string_view input, std::string_view output, int volumes,
                           const PassSummary& summary);

}  // namespace morvane::fuzzing
