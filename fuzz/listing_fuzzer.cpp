// Feeds arbitrary bytes to the chunk listing and to the rewrite side by side;
// as for pass_fuzzer, the first two choose the volume count.
// The listing must refuse exactly what the rewrite refuses, with the same
// kind and offset; otherwise its rows must cover the model from its first
// byte to its last without a gap or an overlap, one chunk row for each chunk
// the rewrite met.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "model/chunk_listing.h"
#include "model/collision_volumes.h"

namespace {

struct Outcome {
    std::optional<morvane::ModelError> refusal;
    std::int64_t covered = 0;  // bytes up to the end of the last row
    std::int64_t chunks = 0;
};

[[noreturn]] void reportBrokenRule(const char* rule) {
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

Outcome listModel(const std::string& model) {
    std::istringstream in(model);
    Outcome outcome;
    try {
        morvane::ListChunks(in, [&outcome](const morvane::ListingRow& row) {
            if (row.offset != outcome.covered || row.bytes <= 0) {
                reportBrokenRule("each row begins where the one before it ended");
            }
            outcome.covered += row.bytes;
            outcome.chunks += row.type == morvane::ListingRow::Type::Chunk ? 1 : 0;
        });
    } catch (const morvane::ModelError& error) {
        outcome.refusal = error;
    }
    return outcome;
}

void compareRefusals(const morvane::ModelError& listed, const morvane::ModelError& rewritten) {
    if (listed.kind() != rewritten.kind() || listed.offset() != rewritten.offset()) {
        reportBrokenRule("the listing refuses with the rewrite's kind and offset");
    }
}

void compareWithRewrite(const std::string& model, int volumes, const Outcome& listed) {
    std::istringstream in(model);
    std::stringstream out;
    std::ostream discarded(nullptr);
    try {
        const morvane::PassSummary summary =
            morvane::AddCollisionVolumes(in, out, volumes, discarded);
        if (listed.refusal) {
            reportBrokenRule("the listing refuses only what the rewrite refuses");
        }
        if (listed.chunks != summary.chunksCopied + summary.primsExtended + summary.handsDropped) {
            reportBrokenRule("one chunk row for each chunk the rewrite met");
        }
    } catch (const morvane::ModelError& error) {
        if (!listed.refusal) {
            reportBrokenRule("the listing refuses what the rewrite refuses");
        }
        compareRefusals(*listed.refusal, error);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int volumes = 1 + (data[0] | data[1] << 8) % 1000;
    const std::string model(reinterpret_cast<const char*>(data + 2), size - 2);
    const Outcome listed = listModel(model);
    if (!listed.refusal && listed.covered != static_cast<std::int64_t>(model.size())) {
        reportBrokenRule("the rows of an accepted model cover all of it");
    }
    compareWithRewrite(model, volumes, listed);
    return 0;
}
