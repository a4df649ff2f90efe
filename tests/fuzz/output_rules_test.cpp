// The fuzzer is only as sharp as the rules it checks each output against:
// they must hold for every sound output and catch each kind of damage.
#include <gtest/gtest.h>

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

std::string brokenRuleAfter(int volumes, void (*damage)(std::string&)) {
    Rewritten result = rewriteInMemory(kModel, volumes);
    damage(result.output);
    result.summary.bytesWritten = static_cast<std::int64_t>(result.output.size());
    return FindBrokenRule(kModel, result.output, volumes, result.summary);
}

void putWord(std::string& bytes, std::size_t offset, std::uint32_t value) {
    bytes.replace(offset, 4, words({value}));
}

TEST(OutputRules, HoldForSoundOutputs) {
    for (const int volumes : {1, 2, 999, 1000}) {
        const Rewritten result = rewriteInMemory(kModel, volumes);
        EXPECT_EQ(FindBrokenRule(kModel, result.output, volumes, result.summary), "") << volumes;
    }
    const std::string bare = containerHeader();
    const Rewritten result = rewriteInMemory(bare, 7);
    EXPECT_EQ(FindBrokenRule(bare, result.output, 7, result.summary), "");
}

TEST(OutputRules, CatchEachKindOfDamage) {
    const std::pair<const char*, void (*)(std::string&)> cases[] = {
        {"second word", [](std::string& out) { out[5] = 'x'; }},
        {"offset-8 word", [](std::string& out) { putWord(out, 8, 0); }},
        {"fits before the closing HAND", [](std::string& out) { putWord(out, 12 + 8, 1000); }},
        {"copied kind or PRIM", [](std::string& out) { putWord(out, 12, 0x12345678u); }},
        {"opens with the word 4", [](std::string& out) { putWord(out, 12 + 20 + 20 + 24, 5); }},
        {"carries the count", [](std::string& out) { putWord(out, 12 + 20 + 20 + 28, 3); }},
        {"0xFFFFFFFF", [](std::string& out) { putWord(out, 12 + 20 + 20 + 32, 0); }},
        {"ends with a HAND chunk", [](std::string& out) { out[out.size() - 20] = 'X'; }},
        {"last PRIM chunk's size", [](std::string& out) { putWord(out, out.size() - 4, 12); }},
        {"closing HAND", [](std::string& out) { out.insert(out.size() - 20, "abcd"); }},
        {"closing HAND chunk", [](std::string& out) { out.resize(30); }},
    };
    for (const auto& [rule, damage] : cases) {
        const std::string broken = brokenRuleAfter(2, damage);
        EXPECT_NE(broken.find(rule), std::string::npos) << rule << ": " << broken;
    }
}

TEST(OutputRules, CatchAMiscountedSummaryAndOvergrowth) {
    Rewritten result = rewriteInMemory(kModel, 2);
    PassSummary miscounted = result.summary;
    miscounted.primsExtended = 1;
    EXPECT_NE(FindBrokenRule(kModel, result.output, 2, miscounted).find("PRIM chunk extended"),
              std::string::npos);
    const std::string shorterInput = kModel.substr(0, kModel.size() - 30);
    EXPECT_NE(FindBrokenRule(shorterInput, result.output, 2, result.summary).find("grows"),
              std::string::npos);
}

}  // namespace
}  // namespace morvane::testing
