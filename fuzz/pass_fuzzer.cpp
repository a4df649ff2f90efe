// Feeds arbitrary bytes through the collision-volume pass. The first two bytes
// choose the volume count, the rest is the model. An accepted model's output
// must keep every rule of the format; a refused one may only raise the
// model's own error, since in-memory streams never fail.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "model/collision_volumes.h"
#include "output_invariants.h"

namespace {

constexpr std::size_t kCountBytes = 2;

int volumeCount(const std::uint8_t* data) {
    return 1 + (data[0] | data[1] << 8) % 1000;
}

[[noreturn]] void reportBrokenRule(const std::string& rule, int volumes) {
    std::fprintf(stderr, "broken rule with %d volumes: %s\n", volumes, rule.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kCountBytes) {
        return 0;
    }
    const int volumes = volumeCount(data);
    const std::string model(reinterpret_cast<const char*>(data + kCountBytes), size - kCountBytes);
    std::istringstream in(model);
    std::stringstream out;
    std::ostream discarded(nullptr);
    try {
        const morvane::PassSummary summary =
            morvane::AddCollisionVolumes(in, out, volumes, discarded);
        const std::string output = out.str();
        if (const std::string rule =
                morvane::fuzzing::FindBrokenRule(model, output, volumes, summary);
            !rule.empty()) {
            reportBrokenRule(rule, volumes);
        }
    } catch (const morvane::ModelError&) {
        // A refusal is a sound answer to a malformed model.
    }
    return 0;
}
