// Feeds arbitrary bytes to the chunk listing and to the rewrite side by side;
// as for pass_fuzzer, the first two choose the volume count.
// The listing must refuse exactly what the rewrite refuses, with the same
// kind and offset; otherwise its rows must cover the model from its first
// byte to its last without a gap or an overlap, one chunk row for each chunk
// the rewrite met.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>

#include "fuzz_input.h"
#include "model/chunk_listing.h"

using namespace morvane::fuzzing;

namespace {

struct Outcome {
    std::optional<morvane::ModelError> refusal;
    std::optional<morvane::CarriedBlock> block;
    std::int64_t covered = 0;  // bytes up to the end of the last row
    std::int64_t chunks = 0;
};

Outcome listModel(const std::string& model, int volumes) {
    std::istringstream in(model);
    Outcome outcome;
    try {
        outcome.block =
            morvane::ListChunks(in, [&outcome, volumes](const morvane::ListingRow& row) {
                if (row.offset != outcome.covered || row.bytes <= 0) {
                    ReportBrokenRule("each row begins where the one before it ended", volumes);
                }
                outcome.covered += row.bytes;
                outcome.chunks += row.type == morvane::ListingRow::Type::Chunk ? 1 : 0;
            });
    } catch (const morvane::ModelError& error) {
        outcome.refusal = error;
    }
    return outcome;
}

void compareRefusals(const morvane::ModelError& listed, const morvane::ModelError& rewritten,
                     int volumes) {
    if (listed.kind() != rewritten.kind() || listed.offset() != rewritten.offset()) {
        ReportBrokenRule("the listing refuses with the rewrite's kind and offset", volumes);
    }
}

void compareWithRewrite(const FuzzInput& input, const Outcome& listed) {
    try {
        const morvane::PassSummary rewrite = RewriteInMemory(input).summary;
        if (listed.refusal) {
            ReportBrokenRule("the listing refuses only what the rewrite refuses", input.volumes);
        }
        if (listed.chunks != rewrite.chunksCopied + rewrite.primsExtended + rewrite.handsDropped) {
            ReportBrokenRule("one chunk row for each chunk the rewrite met", input.volumes);
        }
    } catch (const morvane::ModelError& error) {
        if (!listed.refusal) {
            ReportBrokenRule("the listing refuses what the rewrite refuses", input.volumes);
        }
        compareRefusals(*listed.refusal, error, input.volumes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<FuzzInput> input = DecodeFuzzInput(data, size);
    if (!input) {
        return 0;
    }
    const Outcome listed = listModel(input->model, input->volumes);
    if (!listed.refusal && listed.covered != static_cast<std::int64_t>(input->model.size())) {
        ReportBrokenRule("the rows of an accepted model cover all of it", input->volumes);
    }
    compareWithRewrite(*input, listed);
    std::istringstream model(input->model);
    if (!listed.refusal && listed.block != morvane::FindCarriedBlock(model)) {
        ReportBrokenRule("the listing finds the block the check before a rewrite finds",
                         input->volumes);
    }
    return 0;
}
