#include <gtest/gtest.h>

#include <sstream>

#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

using Kind = ModelError::Kind;

struct Refusal {
    const char* name;
    std::string input;
    Kind kind;
    std::int64_t offset;
    const char* message;  // a part of what the user is told
};

void PrintTo(const Refusal& refusal, std::ostream* os) {
    *os << refusal.name;
}

class RefusedModel : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedModel, NamesTheProblemAndWhere) {
    const Refusal& refusal = GetParam();
    try {
        rewriteInMemory(refusal.input, 2);
        FAIL() << "accepted";
    } catch (const ModelError& error) {
        EXPECT_EQ(error.kind(), refusal.kind);
        EXPECT_EQ(error.offset(), refusal.offset);
        EXPECT_NE(std::string(error.what()).find(refusal.message), std::string::npos)
            << error.what();
    }
}

const std::string kHeader = containerHeader();
constexpr std::uint32_t kNegative = 0xFFFFFFF8u;  // -8

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedModel,
    ::testing::Values(
        Refusal{"Empty", "", Kind::NotAModel, 0, "0 bytes long"},
        Refusal{"ShorterThanHeader", words({kZrm4, 0}), Kind::NotAModel, 0, "8 bytes long"},
        Refusal{"OtherFirstWord", chunk(kXyzs, 0, 0, ""), Kind::NotAModel, 0,
                "begins with 0x58595A53 ('XYZS')"},
        Refusal{"HeaderCutOff", kHeader + words({kXyzs, 0}), Kind::TruncatedChunk, 12,
                "XYZS chunk at offset 12: the header is cut off after 8 of its 12 bytes"},
        Refusal{"PayloadCutOff", kHeader + chunk(kNorm, 0, 4096, payload(100)),
                Kind::TruncatedChunk, 12,
                "NORM chunk at offset 12: the payload needs 4096 bytes, only 100 remain"},
        Refusal{"StrnPaddingCutOff", kHeader + chunk(kStrn, 0, 5, "hello"), Kind::TruncatedChunk,
                12, "the payload needs 8 bytes, only 5 remain"},
        Refusal{"PrimPayloadCutOff", kHeader + chunk(kPrim, 0, 40, payload(39)),
                Kind::TruncatedChunk, 12, "PRIM chunk at offset 12"},
        Refusal{"HandPayloadCutOff", kHeader + chunk(kHand, 0, 8, payload(4)), Kind::TruncatedChunk,
                12, "HAND chunk at offset 12"},
        Refusal{"PrimHeaderCutOff", kHeader + words({kPrim}) + "ab", Kind::TruncatedChunk, 12,
                "cut off after 6 of its 12 bytes"},
        Refusal{"NegativeXyzs", kHeader + chunk(kXyzs, 0, kNegative, ""), Kind::NegativeSize, 12,
                "the size word is negative (-8)"},
        Refusal{"NegativeStrn", kHeader + chunk(kStrn, 0, kNegative, ""), Kind::NegativeSize, 12,
                "STRN chunk"},
        Refusal{"NegativePrim", kHeader + chunk(kPrim, 0, kNegative, ""), Kind::NegativeSize, 12,
                "PRIM chunk"},
        Refusal{"NegativeHand", kHeader + chunk(kHand, 0, kNegative, ""), Kind::NegativeSize, 12,
                "HAND chunk"},
        Refusal{"HandSizeSix", kHeader + chunk(kHand, 0, 6, payload(8)), Kind::HandSizeNotWords, 12,
                "not a whole number of 4-byte words"},
        Refusal{"StrnRoundingOverflows", kHeader + chunk(kStrn, 0, 0x7FFFFFFFu, ""), Kind::TooLarge,
                12, "the padded size (2147483648)"},
        Refusal{"ChunkLengthOverflows", kHeader + chunk(kXyzs, 0, 0x7FFFFFF8u, ""), Kind::TooLarge,
                12, "the chunk's length (2147483652)"},
        Refusal{"LaterChunkIsCheckedToo",
                kHeader + chunk(kXyzs, 0, 4, payload(4)) + chunk(kPlan, 0, 9, payload(3)),
                Kind::TruncatedChunk, 28, "PLAN chunk at offset 28"}),
    [](const ::testing::TestParamInfo<Refusal>& param) { return param.param.name; });

TEST(AcceptedEdges, ContainerSizeWordIsNeverUsedAsALength) {
    const std::string input = containerHeader(0xFFFFFFFFu) + chunk(kXyzs, 0, 4, payload(4));
    EXPECT_EQ(rewriteInMemory(input, 1).summary.chunksCopied, 2);
}

TEST(AcceptedEdges, HandWithZeroSizeSkipsNothing) {
    const std::string input = containerHeader() + chunk(kHand, 0, 0, "") + chunk(kNorm, 0, 0, "");
    EXPECT_EQ(rewriteInMemory(input, 1).summary.chunksCopied, 2);
}

TEST(VolumeCount, OutsideOneToThousandIsACallerError) {
    for (const int volumes : {0, -1, 1001}) {
        EXPECT_THROW(rewriteInMemory(containerHeader(), volumes), std::invalid_argument);
    }
}

}  // namespace
}  // namespace morvane::testing
