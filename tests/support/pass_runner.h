#pragma once

#include <exception>
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

// What a call throws, or "" when it returns.
template <typename Call>
std::string thrownMessage(Call call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

}  // namespace morvane::testing
