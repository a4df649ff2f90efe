#include <gtest/gtest.h>

#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

TEST(WorkedExample, TraceIsTheSixteenLines) {
    const std::string input = containerHeader(100) + chunk(kXyzs, 7, 24, payload(24)) +
                              chunk(kPrim, 9, 40, payload(40, 'k'));
    const Rewritten result = rewriteInMemory(input, 2);
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
}

TEST(WorkedExample, OutputIs136BytesWithTotal132) {
    const std::string input = containerHeader(100) + chunk(kXyzs, 7, 24, payload(24)) +
                              chunk(kPrim, 9, 40, payload(40, 'k'));
    const Rewritten result = rewriteInMemory(input, 2);
    const std::string expected = withSizeWord(containerHeader() + chunk(kXyzs, 7, 24, payload(24)) +
                                                  chunk(kPrim, 9, 40 + 8 + 8, payload(40, 'k')) +
                                                  volumeBlock(2) + closingHand(40),
                                              132);
    ASSERT_EQ(result.output.size(), 136u);
    EXPECT_EQ(result.output, expected);
    EXPECT_EQ(result.summary.chunksCopied, 2);
    EXPECT_EQ(result.summary.primsExtended, 1);
    EXPECT_EQ(result.summary.bytesWritten, 136);
}

TEST(CopiedChunks, EachCopiedKindKeepsHeaderAndPayload) {
    for (const std::uint32_t tag : {kXyzs, kPlan, kNorm}) {
        const std::string body = chunk(tag, 0xDEADBEEF, 20, payload(20));
        const Rewritten result = rewriteInMemory(containerHeader() + body, 1);
        EXPECT_EQ(result.output,
                  withSizeWord(containerHeader() + body + closingHand(0xABCDEFFF), 12 + 32 + 20))
            << std::hex << tag;
    }
}

TEST(CopiedChunks, StrnPayloadIsPaddedToWholeWords) {
    // Size 5 occupies 8 bytes; the 3 padding bytes belong to the chunk.
    const std::string strn = chunk(kStrn, 0, 5, "hello" + std::string("\x01\x02\x03", 3));
    const std::string next = chunk(kNorm, 0, 4, payload(4));
    const Rewritten result = rewriteInMemory(containerHeader() + strn + next, 1);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + strn + next + closingHand(0xABCDEFFF),
                                          12 + 20 + 16 + 20));
    EXPECT_NE(result.trace.find("size=5\nadjusted size=8\ncopybytes, 20 bytes\n"),
              std::string::npos);
}

TEST(CopiedChunks, StrnAlreadyWholeWordsIsNotPadded) {
    const std::string strn = chunk(kStrn, 0, 8, payload(8));
    const Rewritten result = rewriteInMemory(containerHeader() + strn, 1);
    EXPECT_NE(result.trace.find("size=8\nadjusted size=8\n"), std::string::npos);
    EXPECT_EQ(result.output.size(), 12u + 20u + 20u);
}

TEST(CopiedChunks, PayloadsAroundTheCopyBlockSizeArriveWhole) {
    for (const std::uint32_t size : {2047u, 2048u, 2049u, 4096u + 5u}) {
        const std::string body = chunk(kXyzs, 0, size, payload(size));
        const Rewritten result = rewriteInMemory(containerHeader() + body, 1);
        EXPECT_EQ(result.output.substr(12, body.size()), body) << size;
    }
}

TEST(PrimChunks, HundredBytesAndThreeVolumesMake132Bytes) {
    const std::string prim = chunk(kPrim, 0x01020304, 100, payload(100));
    const Rewritten result = rewriteInMemory(containerHeader() + prim, 3);
    const std::string written = result.output.substr(12, 132);
    EXPECT_EQ(written, chunk(kPrim, 0x01020304, 120, payload(100)) + volumeBlock(3));
    EXPECT_EQ(result.output.size(), 12u + 132u + 20u);
}

TEST(PrimChunks, TwoPrimsEachGetABlockAndTheLastIsRecorded) {
    const std::string input = containerHeader() + chunk(kPrim, 0, 8, payload(8)) +
                              chunk(kPlan, 0, 4, payload(4)) + chunk(kPrim, 0, 12, payload(12));
    const Rewritten result = rewriteInMemory(input, 1);
    const std::string expected = containerHeader() + chunk(kPrim, 0, 20, payload(8)) +
                                 volumeBlock(1) + chunk(kPlan, 0, 4, payload(4)) +
                                 chunk(kPrim, 0, 24, payload(12)) + volumeBlock(1) +
                                 closingHand(12);
    EXPECT_EQ(result.output,
              withSizeWord(expected, static_cast<std::uint32_t>(expected.size() - 8)));
    EXPECT_EQ(result.summary.primsExtended, 2);
}

TEST(PrimChunks, ThousandVolumesGrowTheChunkBy4008Bytes) {
    const std::string prim = chunk(kPrim, 0, 16, payload(16));
    const Rewritten result = rewriteInMemory(containerHeader() + prim, 1000);
    EXPECT_EQ(result.output.size(), 12u + prim.size() + 4008u + 20u);
    EXPECT_EQ(wordAt(result.output, 12 + 8), 16u + 4008u);
}

TEST(PrimChunks, EmptyPrimPayloadStillGetsItsBlock) {
    const Rewritten result = rewriteInMemory(containerHeader() + chunk(kPrim, 0, 0, ""), 2);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + chunk(kPrim, 0, 16, "") +
                                              volumeBlock(2) + closingHand(0),
                                          12 + 24 + 20));
}

TEST(ClosingHand, ModelWithoutPrimEndsWithTheMarker) {
    const Rewritten result = rewriteInMemory(containerHeader(), 5);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + closingHand(0xABCDEFFF), 32));
}

TEST(ClosingHand, HandChunksAnywhereAreDroppedAndOneClosesTheFile) {
    const std::string input = containerHeader() + chunk(kHand, 3, 8, words({1, 2})) +
                              chunk(kXyzs, 0, 4, payload(4)) + chunk(kHand, 0, 0, "") +
                              chunk(kPrim, 0, 4, payload(4)) + chunk(kHand, 0, 4, words({kPrim}));
    const Rewritten result = rewriteInMemory(input, 1);
    const std::string expected = containerHeader() + chunk(kXyzs, 0, 4, payload(4)) +
                                 chunk(kPrim, 0, 16, payload(4)) + volumeBlock(1) + closingHand(4);
    EXPECT_EQ(result.output,
              withSizeWord(expected, static_cast<std::uint32_t>(expected.size() - 4)));
    EXPECT_EQ(result.summary.handsDropped, 3);
    EXPECT_EQ(result.trace.find("HAND.  ignoring.\n") != std::string::npos, true);
}

// 12 bytes of input each and nothing written: a 26 GiB input of empty HAND
// chunks holds more than a 32-bit count can.
static_assert(sizeof(PassSummary::handsDropped) >= 8, "the HAND count must not overflow");

TEST(UnrecognisedWords, ArePassedOverOneWordAtATime) {
    // The second word of the unknown chunk is a PRIM tag and is taken as one.
    const std::string unknown = words({0x51515151u}) + chunk(kPrim, 0, 4, payload(4));
    const Rewritten result = rewriteInMemory(containerHeader() + unknown, 1);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + chunk(kPrim, 0, 16, payload(4)) +
                                              volumeBlock(1) + closingHand(4),
                                          12 + 24 + 20));
    EXPECT_EQ(result.summary.unrecognisedBytes, 4);
    EXPECT_NE(result.trace.find("Header= 0x51515151\nHeader= 0x5052494D\n"), std::string::npos);
}

TEST(UnrecognisedWords, ReversedTagBytesAreNotATag) {
    const std::string reversed = "PRIM";  // 50 52 49 4D reads as 0x4D495250
    const Rewritten result = rewriteInMemory(containerHeader() + reversed, 1);
    EXPECT_EQ(result.summary.primsExtended, 0);
    EXPECT_EQ(result.summary.unrecognisedBytes, 4);
    EXPECT_NE(result.trace.find("Header= 0x4D495250\n"), std::string::npos);
}

TEST(UnrecognisedWords, TagLikeWordsInsideCopiedPayloadsAreNotTags) {
    const std::string body = chunk(kXyzs, 0, 12, words({kHand, kPrim, kStrn}));
    const Rewritten result = rewriteInMemory(containerHeader() + body, 1);
    EXPECT_EQ(result.output.substr(12, body.size()), body);
    EXPECT_EQ(result.summary.handsDropped, 0);
}

TEST(TrailingBytes, ShortOfAWordAreDroppedSilently) {
    const Rewritten result = rewriteInMemory(containerHeader() + "xyz", 1);
    EXPECT_EQ(result.output, withSizeWord(containerHeader() + closingHand(0xABCDEFFF), 32));
    EXPECT_EQ(result.summary.trailingBytes, 3);
    EXPECT_EQ(result.trace.find("Header= 0x0"), std::string::npos);
}

TEST(RunningTotal, SecondPassStartsAfresh) {
    const std::string input = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    const Rewritten first = rewriteInMemory(input, 1);
    const Rewritten second = rewriteInMemory(input, 1);
    EXPECT_EQ(first.output, second.output);
    EXPECT_EQ(wordAt(second.output, 8), second.output.size() - 4);
}

}  // namespace
}  // namespace morvane::testing
