#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "model/collision_volumes.h"

// What both fuzz targets make of their bytes, and how they run the pass.
namespace morvane::fuzzing {

// The first two bytes choose the volume count (1..1000); the rest is the model.
struct FuzzInput {
    int volumes;
    std::string model;
};

inline std::optional<FuzzInput> DecodeFuzzInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kCountBytes = 2;
    if (size < kCountBytes) {
        return std::nullopt;
    }
    return FuzzInput{
        1 + (data[0] | data[1] << 8) % 1000,
        std::string(reinterpret_cast<const char*>(data + kCountBytes), size - kCountBytes)};
}

struct Rewrite {
    PassSummary summary;
    std::string output;
};

// The pass over in-memory streams with its trace discarded; throws what the
// pass throws.
inline Rewrite RewriteInMemory(const FuzzInput& input) {
    std::istringstream in(input.model);
    std::stringstream out;
    std::ostream discarded(nullptr);
    const PassSummary summary = AddCollisionVolumes(in, out, input.volumes, discarded);
    return {summary, out.str()};
}

[[noreturn]] inline void ReportBrokenRule(const std::string& rule, int volumes) {
    std::fprintf(stderr, "broken rule with %d volumes: %s\n", volumes, rule.c_str());
    std::abort();
}

}  // namespace morvane::fuzzing
