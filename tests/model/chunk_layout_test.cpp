#include <gtest/gtest.h>

#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

const std::string kWorkedExample =
    containerHeader(100) + chunk(kXyzs, 7, 24, payload(24)) + chunk(kPrim, 9, 40, payload(40, 'k'));

TEST(WorkedExample, TraceOutputAndTotal) {
    const Rewritten result = rewriteInMemory(kWorkedExample, 2);
    EXPECT_EQ(result.trace,
              "Header= 0x5A524D34\n"
              "ZRM4, XYZS, PLAN, NORM, STRN\n"
              "size=100\n"
              "adjusted size=100\n"
              "copybytes, 12 bytes\n"
              "Header= 0x58595A53\n"
              "ZRM4, XYZS, PLAN, NORM, STRN\n"
              "size=24\n"
              "adjusted size=24\n"
              "copybytes, 36 bytes\n"
              "Header= 0x5052494D\n"
              "PRIM\n"
              "Primoffset=40\n"
              "copybytes, 8 bytes\n"
              "m_Volumes=2\n"
              "copybytes, 40 bytes\n");
    ASSERT_EQ(result.output.size(), 136u);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + chunk(kXyzs, 7, 24, payload(24)) +
                                              chunk(kPrim, 9, 56, payload(40, 'k')) +
                                              volumeBlock(2) + closingHand(40),
                                          132));
    EXPECT_EQ(result.summary.chunksCopied, 2);
    EXPECT_EQ(result.summary.primsExtended, 1);
    EXPECT_EQ(result.summary.bytesWritten, 136);
}

struct Layout {
    const char* name;
    std::string body;  // after the container header
    int volumes;
    std::string expected;  // after the container header
    std::string traced;    // a run of trace lines that must appear, or ""
};

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << layout.name;
}

class ChunkLayout : public ::testing::TestWithParam<Layout> {};

// The offset-8 word is the output's length less 4 for each PRIM chunk.
TEST_P(ChunkLayout, IsWrittenByteForByte) {
    const Layout& layout = GetParam();
    const Rewritten result = rewriteInMemory(containerHeader() + layout.body, layout.volumes);
    const std::string expected = containerHeader() + layout.expected;
    const auto prims = static_cast<std::uint32_t>(result.summary.primsExtended);
    EXPECT_EQ(result.output,
              withSizeWord(expected, static_cast<std::uint32_t>(expected.size()) - 4 * prims));
    EXPECT_NE(result.trace.find(layout.traced), std::string::npos) << result.trace;
}

const std::string kNoPrim = closingHand(0xABCDEFFF);
const std::string kStrnFive = chunk(kStrn, 0, 5, "hello" + std::string("\x01\x02\x03", 3));

INSTANTIATE_TEST_SUITE_P(
    Models, ChunkLayout,
    ::testing::Values(
        Layout{"Empty", "", 5, kNoPrim, ""},
        Layout{"CopiedKinds",
               chunk(kXyzs, 0xDEADBEEF, 20, payload(20)) + chunk(kPlan, 1, 4, payload(4)) +
                   chunk(kNorm, 2, 0, ""),
               1,
               chunk(kXyzs, 0xDEADBEEF, 20, payload(20)) + chunk(kPlan, 1, 4, payload(4)) +
                   chunk(kNorm, 2, 0, "") + kNoPrim,
               ""},
        Layout{"StrnPaddedToWholeWords", kStrnFive + chunk(kNorm, 0, 4, payload(4)), 1,
               kStrnFive + chunk(kNorm, 0, 4, payload(4)) + kNoPrim,
               "size=5\nadjusted size=8\ncopybytes, 20 bytes\n"},
        Layout{"StrnWholeWordsNotPadded", chunk(kStrn, 0, 8, payload(8)), 1,
               chunk(kStrn, 0, 8, payload(8)) + kNoPrim, "size=8\nadjusted size=8\n"},
        Layout{"CopyOf2047", chunk(kXyzs, 0, 2035, payload(2035)), 1,
               chunk(kXyzs, 0, 2035, payload(2035)) + kNoPrim, "copybytes, 2047 bytes\n"},
        Layout{"CopyOf2048", chunk(kXyzs, 0, 2036, payload(2036)), 1,
               chunk(kXyzs, 0, 2036, payload(2036)) + kNoPrim, "copybytes, 2048 bytes\n"},
        Layout{"CopyOf2049", chunk(kXyzs, 0, 2037, payload(2037)), 1,
               chunk(kXyzs, 0, 2037, payload(2037)) + kNoPrim, "copybytes, 2049 bytes\n"},
        Layout{"PrimOf100WithThreeVolumes", chunk(kPrim, 0x01020304, 100, payload(100)), 3,
               chunk(kPrim, 0x01020304, 120, payload(100)) + volumeBlock(3) + closingHand(100),
               "Primoffset=100\ncopybytes, 8 bytes\nm_Volumes=3\ncopybytes, 100 bytes\n"},
        Layout{"EmptyPrimStillExtended", chunk(kPrim, 0, 0, ""), 2,
               chunk(kPrim, 0, 16, "") + volumeBlock(2) + closingHand(0), ""},
        Layout{"ThousandVolumes", chunk(kPrim, 0, 16, payload(16)), 1000,
               chunk(kPrim, 0, 16 + 4008, payload(16)) + volumeBlock(1000) + closingHand(16),
               "m_Volumes=1000\n"},
        Layout{"TwoPrimsLastRecorded",
               chunk(kPrim, 0, 8, payload(8)) + chunk(kPlan, 0, 4, payload(4)) +
                   chunk(kPrim, 0, 12, payload(12)),
               1,
               chunk(kPrim, 0, 20, payload(8)) + volumeBlock(1) + chunk(kPlan, 0, 4, payload(4)) +
                   chunk(kPrim, 0, 24, payload(12)) + volumeBlock(1) + closingHand(12),
               ""},
        Layout{"HandChunksAnywhereDropped",
               chunk(kHand, 3, 8, words({1, 2})) + chunk(kXyzs, 0, 4, payload(4)) +
                   chunk(kHand, 0, 0, "") + chunk(kPrim, 0, 4, payload(4)) +
                   chunk(kHand, 0, 4, words({kPrim})),
               1,
               chunk(kXyzs, 0, 4, payload(4)) + chunk(kPrim, 0, 16, payload(4)) + volumeBlock(1) +
                   closingHand(4),
               "HAND.  ignoring.\n"},
        // The unknown chunk's second word is a PRIM tag, and is taken as one.
        Layout{"UnrecognisedWordsPassedOver", words({0x51515151u}) + chunk(kPrim, 0, 4, payload(4)),
               1, chunk(kPrim, 0, 16, payload(4)) + volumeBlock(1) + closingHand(4),
               "Header= 0x51515151\nHeader= 0x5052494D\n"},
        Layout{"ReversedTagIsNoTag", "PRIM", 1, kNoPrim, "Header= 0x4D495250\n"},
        Layout{"TagsInsideCopiedPayloadsAreNotTags",
               chunk(kXyzs, 0, 12, words({kHand, kPrim, kStrn})), 1,
               chunk(kXyzs, 0, 12, words({kHand, kPrim, kStrn})) + kNoPrim, ""},
        Layout{"TrailingBytesDropped", "xyz", 1, kNoPrim, ""}),
    [](const ::testing::TestParamInfo<Layout>& param) { return param.param.name; });

TEST(PassSummary, CountsWhatThePassDid) {
    const std::string body = chunk(kHand, 0, 0, "") + words({7}) + chunk(kPrim, 0, 0, "") +
                             chunk(kHand, 0, 4, payload(4)) + "ab";
    const PassSummary summary = rewriteInMemory(containerHeader() + body, 1).summary;
    EXPECT_EQ(summary.chunksCopied, 1);
    EXPECT_EQ(summary.primsExtended, 1);
    EXPECT_EQ(summary.handsDropped, 2);
    EXPECT_EQ(summary.unrecognisedBytes, 4);
    EXPECT_EQ(summary.trailingBytes, 2);
    EXPECT_EQ(summary.bytesWritten, 12 + 24 + 20);
}

// 12 bytes of input each and nothing written: a 26 GiB input of empty HAND
// chunks holds more than a 32-bit count can.
static_assert(sizeof(PassSummary::handsDropped) >= 8, "the HAND count must not overflow");

}  // namespace
}  // namespace morvane::testing
