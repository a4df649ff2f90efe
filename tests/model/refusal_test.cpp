#include <gtest/gtest.h>

#include <sstream>

#include "model/carried_block.h"
#include "model/chunk_listing.h"
#include "model/files/path_text.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

using Kind = ModelError::Kind;

// The rows as "name@offset+bytes" and the refusal, if any, after them; the
// rows must follow each other with no gap.
std::string list(const std::string& model) {
    std::string seen;
    std::int64_t covered = 0;
    std::istringstream in(model);
    try {
        ListChunks(in, [&](const ListingRow& row) {
            EXPECT_EQ(row.offset, covered);
            covered = row.offset + row.bytes;
            seen += row.type == ListingRow::Type::Chunk ? std::string(row.chunk.kind->name)
                    : row.type == ListingRow::Type::TrailingBytes ? "trailing"
                                                                  : "unrecognised";
            seen += "@" + std::to_string(row.offset) + "+" + std::to_string(row.bytes) + " ";
        });
        EXPECT_EQ(covered, static_cast<std::int64_t>(model.size()));
    } catch (const ModelError& error) {
        seen += error.what();
    }
    return seen;
}

struct Refusal {
    std::string input;
    Kind kind;
    std::int64_t offset;
    const char* message;  // a part of what the user is told
};

TEST(RefusedModel, NamesTheProblemAndWhere) {
    const std::string header = containerHeader();
    constexpr std::uint32_t kNegative = 0xFFFFFFF8u;  // -8
    const Refusal refusals[] = {
        {"", Kind::NotAModel, 0, "0 bytes long"},
        {words({kZrm4, 0}), Kind::NotAModel, 0, "8 bytes long"},
        {chunk(kXyzs, 0, 0, ""), Kind::NotAModel, 0, "begins with 0x58595A53 ('XYZS')"},
        // Letters are shown only when every byte is a printable one.
        {words({0x7F414141u, 0, 0}), Kind::NotAModel, 0, "begins with 0x7F414141 where"},
        {words({0x4141411Fu, 0, 0}), Kind::NotAModel, 0, "begins with 0x4141411F where"},
        {words({0x7E414120u, 0, 0}), Kind::NotAModel, 0, "begins with 0x7E414120 ('~AA ') where"},
        {header + words({kXyzs, 0}), Kind::TruncatedHeader, 12,
         "XYZS chunk at offset 12: the header is cut off after 8 of its 12 bytes"},
        {header + chunk(kPrim, 0, 8, payload(7)), Kind::TruncatedChunk, 12,
         "PRIM chunk at offset 12: the payload needs 8 bytes, only 7 remain"},
        {header + chunk(kStrn, 0, 5, "hello"), Kind::TruncatedChunk, 12,
         "the payload needs 8 bytes, only 5 remain"},
        {header + chunk(kHand, 0, 8, payload(4)), Kind::TruncatedChunk, 12,
         "HAND chunk at offset 12"},
        {header + chunk(kXyzs, 0, kNegative, ""), Kind::NegativeSize, 12,
         "the size word is negative (-8)"},
        {header + chunk(kStrn, 0, kNegative, ""), Kind::NegativeSize, 12, "STRN chunk"},
        {header + chunk(kPrim, 0, kNegative, ""), Kind::NegativeSize, 12, "PRIM chunk"},
        {header + chunk(kHand, 0, kNegative, ""), Kind::NegativeSize, 12, "HAND chunk"},
        {header + chunk(kHand, 0, 6, payload(8)), Kind::HandSizeNotWords, 12,
         "not a whole number of 4-byte words"},
        {header + chunk(kStrn, 0, 0x7FFFFFFFu, ""), Kind::TooLarge, 12,
         "the padded size (2147483648)"},
        {header + chunk(kXyzs, 0, 0x7FFFFFF8u, ""), Kind::TooLarge, 12,
         "the chunk's length (2147483652)"},
        {header + chunk(kXyzs, 0, 4, payload(4)) + chunk(kNorm, 0, 4096, payload(100)),
         Kind::TruncatedChunk, 28,
         "NORM chunk at offset 28: the payload needs 4096 bytes, only 100 remain"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.message);
        try {
            rewriteInMemory(refusal.input, 2);
            ADD_FAILURE() << "accepted";
        } catch (const ModelError& error) {
            EXPECT_EQ(error.kind(), refusal.kind);
            EXPECT_EQ(error.offset(), refusal.offset);
            EXPECT_NE(std::string(error.what()).find(refusal.message), std::string::npos)
                << error.what();
            const std::string listed = list(refusal.input);
            EXPECT_TRUE(listed.ends_with(error.what())) << "the listing differs: " << listed;
        }
    }
}

// Names and typed values from outside stay one harmless line in a message.
TEST(QuotedText, ShowsControlBytesAsEscapes) {
    EXPECT_EQ(QuotedText("a\tb\nc\rd\x1F\x7F e~\xC3\xA9"), "'a\\tb\\nc\\rd\\x1F\\x7F e~\xC3\xA9'");
    // The C1 controls, as characters and as the bytes an 8-bit terminal
    // reads; the same bytes inside other characters are no controls.
    EXPECT_EQ(QuotedText("\xC2\x9B"
                         "31m\xC2\x80\xC2\x9F\xC2\xA0"),
              "'\\u009B31m\\u0080\\u009F\xC2\xA0'");
    EXPECT_EQ(QuotedText("\x9B"
                         "31m\x80\xC0\x9F\xFF"),
              "'\\x9B31m\\x80\xC0\\x9F\xFF'");
    EXPECT_EQ(QuotedText("\xC5\x9B \xE2\x80\x9B \xF0\x9F\x98\x80"),
              "'\xC5\x9B \xE2\x80\x9B \xF0\x9F\x98\x80'");
    EXPECT_EQ(QuotedText("\xE0\x80\x9B\xED\xA0\x80"), "'\xE0\\x80\\x9B\xED\xA0\\x80'");
}

TEST(VolumeCount, OutsideOneToThousandIsACallerError) {
    for (const int volumes : {0, -1, 1001}) {
        EXPECT_THROW(rewriteInMemory(containerHeader(), volumes), std::invalid_argument);
    }
}

// After the rows before it, a refusal reads as the pass's (above).
TEST(ChunkListing, RowsFollowTheWalkAndCoverEveryByteUpToARefusal) {
    const std::pair<std::string, std::string> cases[] = {
        {containerHeader(7) + chunk(kStrn, 5, 5, payload(8)) + words({0x51515151u, 0x52525252u}) +
             chunk(kPrim, 0, 4, payload(4)) + chunk(kHand, 0, 4, payload(4)) + "zz",
         "ZRM4@0+12 STRN@12+20 unrecognised@32+8 PRIM@40+16 HAND@56+16 trailing@72+2 "},
        {containerHeader(), "ZRM4@0+12 "},
        {containerHeader() + words({0x51515151u}) + chunk(kXyzs, 0, 4, payload(4)) +
             chunk(kHand, 0, 6, payload(8)),
         "ZRM4@0+12 unrecognised@12+4 XYZS@16+16 HAND chunk at offset 32: the size word (6) is not "
         "a whole number of 4-byte words, so the chunks after it cannot be found"},
        {containerHeader() + words({1, 2, 3, kNorm, 0}),
         "ZRM4@0+12 unrecognised@12+12 NORM chunk at offset 24: the header is cut off after 8 of "
         "its 12 bytes"},
    };
    for (const auto& [model, listed] : cases) {
        EXPECT_EQ(list(model), listed);
    }
}

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
        {"a first slot that is not empty", withWordAt(model, 72, 0)},
        {"a later slot that is not empty", withWordAt(model, 72 + 4, 0)},
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
