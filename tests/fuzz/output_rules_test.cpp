// The fuzzer is only as sharp as the rules it checks each output against:
// they must hold for every sound output and catch each kind of damage.
#include <gtest/gtest.h>

#include <functional>

#include "fuzz/output_invariants.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

using fuzzing::FindBrokenRule;

const std::string kModel = containerHeader() + chunk(kXyzs, 0, 8, payload(8)) +
                           chunk(kStrn, 0, 5, payload(8)) + chunk(kHand, 0, 4, payload(4)) +
                           chunk(kPrim, 0, 12, payload(12)) + chunk(kPrim, 0, 4, payload(4)) +
                           words({0x01020304u}) + "ab";

TEST(OutputRules, HoldForSoundOutputs) {
    for (const auto& [input, volumes] :
         {std::pair{kModel, 1}, std::pair{kModel, 1000}, std::pair{containerHeader(), 7}}) {
        const Rewritten result = rewriteInMemory(input, volumes);
        EXPECT_EQ(FindBrokenRule(input, result.output, volumes, result.summary), "") << volumes;
    }
}

// Output offsets: XYZS at 12, STRN at 32, the first PRIM at 52 with its
// 2-volume block at 76.
TEST(OutputRules, CatchEachKindOfDamage) {
    using Damage = std::function<void(std::string&, std::string&, PassSummary&)>;
    const auto put = [](std::size_t at, std::uint32_t word) -> Damage {
        return [=](auto&, auto& out, auto&) { out = withWordAt(out, at, word); };
    };
    const std::pair<const char*, Damage> cases[] = {
        {"second word", [](auto&, auto& out, auto&) { out[5] = 'x'; }},
        {"offset-8 word", put(8, 0)},
        {"fits before the closing HAND", put(20, 1000)},
        {"copied kind or PRIM", put(12, 0x12345678u)},
        {"carries the count", put(80, 3)},
        {"0xFFFFFFFF", put(84, 0)},
        {"ends with a HAND chunk", [](auto&, auto& out, auto&) { out[out.size() - 20] = 'X'; }},
        {"last PRIM chunk's size",
         [](auto&, auto& out, auto&) { out = withWordAt(out, out.size() - 4, 12); }},
        {"closing HAND chunk", [](auto&, auto& out, auto&) { out.resize(30); }},
        {"PRIM chunk extended", [](auto&, auto&, auto& summary) { summary.primsExtended = 1; }},
        {"grows", [](auto& input, auto&, auto&) { input.resize(input.size() - 30); }},
    };
    for (const auto& [rule, damage] : cases) {
        std::string input = kModel;
        Rewritten result = rewriteInMemory(kModel, 2);
        damage(input, result.output, result.summary);
        const std::string broken = FindBrokenRule(input, result.output, 2, result.summary);
        EXPECT_NE(broken.find(rule), std::string::npos) << rule << ": " << broken;
    }
}

}  // namespace
}  // namespace morvane::testing
