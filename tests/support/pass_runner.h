#pragma once

#include <sstream>
#include <string>

#include "model/collision_volumes.h"

namespace morvane::testing {

struct Rewritten {
    std::string output;
    std::string trace;
    PassSummary summary;
};

// Runs the pass over in-memory streams.
inline Rewritten rewriteInMemory(const std::string& input, int volumes) {
    std::istringstream in(input);
    std::stringstream out;
    std::ostringstream trace;
    const PassSummary summary = AddCollisionVolumes(in, out, volumes, trace);
    return {out.str(), trace.str(), summary};
}

}  // namespace morvane::testing
