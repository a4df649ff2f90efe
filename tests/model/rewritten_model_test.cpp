#include <gtest/gtest.h>

#include <sstream>

#include "model/carried_block.h"
#include "model/chunk_listing.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

// A model built as a rewrite leaves it: P payload bytes, then the block.
std::string withBlock(std::uint32_t payloadBytes, int volumes) {
    return containerHeader() +
           chunk(kPrim, 0, payloadBytes + 8 + 4 * static_cast<std::uint32_t>(volumes),
                 payload(payloadBytes) + volumeBlock(volumes)) +
           closingHand(payloadBytes);
}

// What the check before a rewrite finds; the listing must find the same.
std::optional<CarriedBlock> found(const std::string& model) {
    std::istringstream in(model);
    std::istringstream again(model);
    const std::optional<CarriedBlock> block = FindCarriedBlock(in);
    try {
        EXPECT_EQ(ListChunks(again, [](const ListingRow&) {}), block);
    } catch (const ModelError&) {
        EXPECT_EQ(block, std::nullopt) << "refused, yet found";
    }
    return block;
}

// Known by its closing HAND chunk and its last PRIM chunk's block, wherever
// that chunk stands and whatever came before it.
TEST(CarriedBlock, ARewrittenModelIsRecognisedByItsLastPrimChunk) {
    const std::string plain = containerHeader() + chunk(kXyzs, 0, 24, payload(24)) +
                              chunk(kPrim, 0, 40, payload(40)) + chunk(kHand, 0, 4, payload(4));
    const std::string primThenOthers =
        containerHeader() + chunk(kPrim, 0, 12, payload(12)) + chunk(kPrim, 0, 20, payload(20)) +
        chunk(kStrn, 0, 5, payload(8)) + chunk(kNorm, 0, 4, payload(4));
    const std::tuple<const char*, std::string, CarriedBlock> rewritten[] = {
        {"one PRIM chunk", rewriteInMemory(plain, 3).output, {48, 40, 3}},
        {"PRIM chunks followed by others", rewriteInMemory(primThenOthers, 2).output, {52, 20, 2}},
        {"one volume", rewriteInMemory(plain, 1).output, {48, 40, 1}},
        {"a thousand volumes", rewriteInMemory(plain, 1000).output, {48, 40, 1000}},
        {"rewritten twice",
         rewriteInMemory(rewriteInMemory(plain, 2).output, 5).output,
         {48, 56, 5}},
        {"an empty payload", withBlock(0, 4), {12, 0, 4}},
    };
    for (const auto& [what, model, block] : rewritten) {
        SCOPED_TRACE(what);
        EXPECT_EQ(found(model), block);
    }
}

// Every rule of the shape, broken once; none of these carries a block.
TEST(CarriedBlock, AModelThatOnlyLooksRewrittenCarriesNone) {
    const std::string model = withBlock(40, 3);  // the block at 64, the HAND chunk at 84
    const std::string noPrim =
        rewriteInMemory(containerHeader() + chunk(kXyzs, 0, 4, "abcd"), 3).output;
    const std::pair<const char*, std::string> lookalikes[] = {
        {"never rewritten", containerHeader() + chunk(kPrim, 0, 40, payload(40))},
        {"no PRIM chunk", noPrim},
        {"a slot that is not empty", withWordAt(model, 72 + 4, 0)},
        {"no block marker", withWordAt(model, 64, 5)},
        {"a count that differs", withWordAt(model, 68, 2)},
        {"another payload offset", withWordAt(model, 84 + 16, 44)},
        {"a closing chunk's other second word", withWordAt(model, 84 + 4, 1)},
        {"a closing chunk's other first word", withWordAt(model, 84 + 12, 1)},
        {"a payload offset that leaves no whole count", withWordAt(model, 84 + 16, 42)},
        {"no volumes", withBlock(40, 0)},
        {"too many volumes", withBlock(40, 1001)},
        {"trailing bytes", model + "ab"},
        {"an unrecognised word at the end", model + words({7})},
        {"the block in an earlier PRIM chunk only",
         containerHeader() + chunk(kPrim, 0, 52, payload(40) + volumeBlock(1)) +
             chunk(kPrim, 0, 52, payload(52)) + closingHand(40)},
        {"the closing chunk inside a payload",
         containerHeader() + chunk(kPrim, 0, 52, payload(40) + volumeBlock(1)) +
             chunk(kXyzs, 0, 20, closingHand(40))},
        {"refused", containerHeader() + chunk(kXyzs, 0, 99, "") + withBlock(40, 3).substr(12)},
    };
    for (const auto& [what, lookalike] : lookalikes) {
        SCOPED_TRACE(what);
        EXPECT_EQ(found(lookalike), std::nullopt);
    }
    EXPECT_EQ(found(model), (CarriedBlock{12, 40, 3}));
}

}  // namespace
}  // namespace morvane::testing
