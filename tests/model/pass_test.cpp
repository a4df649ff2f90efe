#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "model/stream.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

TEST(Words, AreLittleEndianAndAShortReadKeepsTheBytesThatCame) {
    std::istringstream in(std::string("\x4D\x49\x52\x50\x01\x02", 6));
    EXPECT_EQ(readint(in), 0x5052494D);
    EXPECT_EQ(readint(in), 0x0201);
    EXPECT_TRUE(in.eof());
}

// Around the 2048-byte buffer, nothing for counts of 0 or less, and no
// invented bytes when the input runs short.
TEST(CopyBytes, CopiesWhatIsAskedAndThereAndAnnouncesIt) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {{0, 5000},    {-8, 5000},   {12, 5000},
                                                           {2047, 5000}, {2048, 5000}, {2049, 5000},
                                                           {4097, 5000}, {5000, 3000}};
    for (const auto& [count, available] : cases) {
        const std::string source = payload(static_cast<std::size_t>(available));
        const std::int32_t copied = std::clamp(count, 0, available);
        std::istringstream in(source);
        std::ostringstream out;
        std::ostringstream trace;
        EXPECT_EQ(copybytes(in, out, count, trace), copied) << count;
        EXPECT_EQ(out.str(), source.substr(0, static_cast<std::size_t>(copied))) << count;
        EXPECT_EQ(trace.str(), "copybytes, " + std::to_string(count) + " bytes\n");
        if (count <= available) {
            EXPECT_EQ(in.tellg(), copied) << count;
        }
    }
}

struct Layout {
    const char* name;
    std::string body;  // after the container header
    int volumes;
    std::string expected;  // after the container header
    std::string traced;    // a run of trace lines that must appear, or ""
};

// The offset-8 word is the output's length less 4 for each PRIM chunk.
TEST(ChunkLayout, IsWrittenByteForByte) {
    const std::string kNoPrim = closingHand(0xABCDEFFF);
    // STRN sizes 5 and 8 take 8 bytes each; the last payload holds tags.
    const std::string kCopied =
        chunk(kXyzs, 0xDEADBEEF, 20, payload(20)) + chunk(kPlan, 1, 4, payload(4)) +
        chunk(kNorm, 2, 0, "") + chunk(kStrn, 0, 5, "hello" + std::string("\x01\x02\x03", 3)) +
        chunk(kStrn, 0, 8, payload(8)) + chunk(kXyzs, 0, 12, words({kHand, kPrim, kStrn}));
    const Layout layouts[] = {
        {"WorkedExampleWholeTrace",
         chunk(kXyzs, 7, 24, payload(24)) + chunk(kPrim, 9, 40, payload(40, 'k')), 2,
         chunk(kXyzs, 7, 24, payload(24)) + chunk(kPrim, 9, 56, payload(40, 'k')) + volumeBlock(2) +
             closingHand(40),
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
         "copybytes, 40 bytes\n"},
        {"CopiedKindsWithStrnPaddedAndTagsInPayloads", kCopied, 1, kCopied + kNoPrim,
         "size=5\nadjusted size=8\ncopybytes, 20 bytes\n"},
        {"PrimOf100WithThreeVolumes", chunk(kPrim, 0x01020304, 100, payload(100)), 3,
         chunk(kPrim, 0x01020304, 120, payload(100)) + volumeBlock(3) + closingHand(100),
         "Primoffset=100\ncopybytes, 8 bytes\nm_Volumes=3\ncopybytes, 100 bytes\n"},
        {"ThousandVolumes", chunk(kPrim, 0, 16, payload(16)), 1000,
         chunk(kPrim, 0, 16 + 4008, payload(16)) + volumeBlock(1000) + closingHand(16),
         "m_Volumes=1000\n"},
        {"TwoPrimsLastRecorded",
         chunk(kPrim, 0, 8, payload(8)) + chunk(kPlan, 0, 4, payload(4)) +
             chunk(kPrim, 0, 12, payload(12)),
         1,
         chunk(kPrim, 0, 20, payload(8)) + volumeBlock(1) + chunk(kPlan, 0, 4, payload(4)) +
             chunk(kPrim, 0, 24, payload(12)) + volumeBlock(1) + closingHand(12),
         ""},
        {"HandChunksAnywhereDropped",
         chunk(kHand, 3, 8, words({1, 2})) + chunk(kXyzs, 0, 4, payload(4)) +
             chunk(kHand, 0, 0, "") + chunk(kPrim, 0, 4, payload(4)) +
             chunk(kHand, 0, 4, words({kPrim})),
         1,
         chunk(kXyzs, 0, 4, payload(4)) + chunk(kPrim, 0, 16, payload(4)) + volumeBlock(1) +
             closingHand(4),
         "HAND.  ignoring.\n"},
        // The unknown chunk's second word is a PRIM tag, and is taken as one.
        {"UnrecognisedWordsPassedOver", words({0x51515151u}) + chunk(kPrim, 0, 4, payload(4)), 1,
         chunk(kPrim, 0, 16, payload(4)) + volumeBlock(1) + closingHand(4),
         "Header= 0x51515151\nHeader= 0x5052494D\n"},
        {"ReversedTagIsNoTagAndTrailingBytesDropped", "PRIMxyz", 1, kNoPrim,
         "Header= 0x4D495250\n"},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const Rewritten result = rewriteInMemory(containerHeader() + layout.body, layout.volumes);
        const std::string expected = containerHeader() + layout.expected;
        const auto prims = static_cast<std::uint32_t>(result.summary.primsExtended);
        EXPECT_EQ(result.output,
                  withSizeWord(expected, static_cast<std::uint32_t>(expected.size()) - 4 * prims));
        EXPECT_NE(result.trace.find(layout.traced), std::string::npos) << result.trace;
    }
}

}  // namespace
}  // namespace morvane::testing
