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

// Runs the pass over in-memory streams; without a trace it takes its quiet way.
inline Rewritten rewriteInMemory(const std::string& input, int volumes, bool traced = true) {
    std::istringstream in(input);
    std::stringstream out;
    std::ostringstream trace;
    std::ostream silent(nullptr);
    const PassSummary summary = AddCollisionVolumes(in, out, volumes, traced ? trace : silent);
    return {out.str(), trace.str(), summary};
}

}  // namespace morvane::testing
