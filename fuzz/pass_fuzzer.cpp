// Feeds arbitrary bytes through the collision-volume pass. An accepted
// model's output must keep every rule of the format; a refused one may only
// raise the model's own error, since in-memory streams never fail.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "output_invariants.h"

using namespace morvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<FuzzInput> input = DecodeFuzzInput(data, size);
    if (!input) {
        return 0;
    }
    try {
        const Rewrite rewrite = RewriteInMemory(*input);
        if (const std::string rule =
                FindBrokenRule(input->model, rewrite.output, input->volumes, rewrite.summary);
            !rule.empty()) {
            ReportBrokenRule(rule, input->volumes);
        }
    } catch (const morvane::ModelError&) {
        // A refusal is a sound answer to a malformed model.
    }
    return 0;
}
