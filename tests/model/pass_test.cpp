#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "model/block_writer.h"
#include "model/chunk_reader.h"
#include "model/errors.h"
#include "model/kernel_copy.h"
#include "model/stream.h"
#include "model/trace.h"
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

// Nothing for counts of 0 or less, within the reader's block and beyond it;
// an input that ends first is refused, never copied short.
TEST(CopyBytes, CopiesWhatIsAskedAndAnnouncesIt) {
    const std::string source = payload(600000);
    for (const std::int32_t count : {0, -8, 12, 2048, 300000, 600000, 600001}) {
        std::istringstream in(containerHeader() + source);
        ChunkReader reader(in);
        ASSERT_EQ(reader.next(), ChunkReader::Item::Chunk);
        std::ostringstream out;
        std::ostringstream trace;
        {
            Trace traced(trace);
            BlockWriter writer(out);
            if (count > std::ssize(source)) {
                EXPECT_THROW(copybytes(reader, writer, count, traced), FileError);
                continue;
            }
            copybytes(reader, writer, count, traced);
            writer.flush();
        }
        const auto copied = static_cast<std::size_t>(std::max(count, 0));
        EXPECT_TRUE(out.str() == source.substr(0, copied)) << count;
        EXPECT_EQ(trace.str(), "copybytes, " + std::to_string(count) + " bytes\n");
        EXPECT_EQ(reader.offset(), 12 + std::int64_t(copied));
    }
}

// Moves bytes between in-memory streams as the file layer's copy moves them
// between files, no more than `limit` in all, and notes each time it is asked
// where the input and the output stood.
class MemoryKernelCopy final : public KernelCopy {
public:
    struct Asked {
        std::int64_t input;
        std::int64_t output;
        std::int64_t count;
    };

    MemoryKernelCopy(std::istream& in, std::ostream& out, std::int64_t limit)
        : in_(in), out_(out), left_(limit) {}

    std::int64_t copy(std::int64_t count) override {
        asked.push_back({in_.tellg(), out_.tellp(), count});
        std::string bytes(static_cast<std::size_t>(std::min(count, left_)), '\0');
        const std::streamsize moved = in_.rdbuf()->sgetn(bytes.data(), std::ssize(bytes));
        out_.rdbuf()->sputn(bytes.data(), moved);
        left_ -= moved;
        return moved;
    }

    std::vector<Asked> asked;

private:
    std::istream& in_;
    std::ostream& out_;
    std::int64_t left_;
};

// The rest of a payload beyond the reader's block goes through the kernel
// copy, once everything before it is in the output: here the NORM chunk and
// the start of the PRIM chunk, still in the writer's buffer. What the copy
// declines or leaves goes through the buffers.
TEST(KernelCopy, TakesTheRestOfAPayloadAfterEverythingBeforeIt) {
    const std::string model = containerHeader() + chunk(kXyzs, 0, 200 << 10, payload(200 << 10)) +
                              chunk(kNorm, 0, 20, payload(20)) +
                              chunk(kPrim, 0, 3 << 20, payload(3 << 20, 'p'));
    for (const bool traced : {false, true}) {
        const Rewritten expected = rewriteInMemory(model, 5, traced);
        for (const std::int64_t limit : {0, 1 << 20, 4 << 20}) {
            SCOPED_TRACE(::testing::Message() << "traced " << traced << ", limit " << limit);
            std::istringstream in(model);
            std::stringstream out;
            std::ostringstream trace;
            std::ostream silent(nullptr);
            MemoryKernelCopy kernelCopy(in, out, limit);
            const PassSummary summary =
                AddCollisionVolumes(in, out, 5, traced ? trace : silent, &kernelCopy);
            EXPECT_TRUE(out.str() == expected.output);
            EXPECT_EQ(trace.str(), expected.trace);
            EXPECT_EQ(summary, expected.summary);
            ASSERT_EQ(kernelCopy.asked.size(), 1u);
            const MemoryKernelCopy::Asked& asked = kernelCopy.asked.front();
            EXPECT_EQ(asked.output, asked.input) << "the output lacks bytes that come before";
            EXPECT_EQ(asked.input + asked.count, std::ssize(model));
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
        {"ThousandVolumes", chunk(kPrim, 0, 116, payload(116)), 1000,
         chunk(kPrim, 0, 116 + 4008, payload(116)) + volumeBlock(1000) + closingHand(116),
         "Primoffset=116\ncopybytes, 8 bytes\nm_Volumes=1000\ncopybytes, 116 bytes\n"},
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
                  withWordAt(expected, 8, static_cast<std::uint32_t>(expected.size()) - 4 * prims));
        EXPECT_NE(result.trace.find(layout.traced), std::string::npos) << result.trace;
    }
}

// The pass reads in blocks of 256 KiB and, without a trace, takes runs of
// copied chunks in one step: quiet and traced must agree byte for byte.

constexpr int kVolumes = 3;

constexpr std::uint32_t kBlockBytes = 256 * 1024;

// 0 stands for a run of unrecognised words.
constexpr std::uint32_t kPieces[] = {kXyzs, kPlan, kStrn, kPrim, kHand, 0, kNorm, kZrm4};

std::string piece(std::uint32_t tag, std::uint32_t size, std::uint32_t second = 0) {
    if (tag == 0 || tag == kZrm4) {
        return tag == 0 ? std::string(4 * (size % 11 + 1), '\x01') : containerHeader(second);
    }
    const std::uint32_t words = tag == kHand ? size / 4 * 4 : size;
    return chunk(
        tag, second, words,
        payload(tag == kStrn ? (size + 3) / 4 * 4 : words, static_cast<char>('a' + second % 13)));
}

// About 1.3 MiB: runs of small pieces of every kind whose sizes shift their
// edges against the blocks', and now and then a payload longer than a block.
std::string severalBlocks(bool longPayloads = true) {
    std::string model = containerHeader();
    for (std::uint32_t i = 0; model.size() < (1300u << 10); ++i) {
        const std::uint32_t size = longPayloads && i % 97 == 0 ? 300000 + i : i * 37 % 301;
        model += piece(kPieces[i % std::size(kPieces)], size, i);
    }
    return model;
}

// Every byte the pass counts was written: none lost at a block's edge.
void expectRewrittenAlikeQuietOrTraced(const std::string& model) {
    const Rewritten traced = rewriteInMemory(model, kVolumes);
    const Rewritten quiet = rewriteInMemory(model, kVolumes, false);
    ASSERT_TRUE(quiet.output == traced.output) << "the quiet rewrite differs";
    EXPECT_EQ(quiet.summary, traced.summary);
    EXPECT_EQ(std::ssize(traced.output), traced.summary.bytesWritten);
}

TEST(BlockEdges, ModelsOfSeveralBlocksAreRewrittenByteForByteQuietOrTraced) {
    expectRewrittenAlikeQuietOrTraced(severalBlocks());
    expectRewrittenAlikeQuietOrTraced(severalBlocks() + "xy");
    expectRewrittenAlikeQuietOrTraced(severalBlocks(false));
}

// Each piece starts 1 to 16 bytes before the first block ends, so that its
// header, or its run of words, is cut by the edge at every place.
TEST(BlockEdges, EveryPieceAcrossTheFirstBlockEdge) {
    for (const std::uint32_t tag : kPieces) {
        for (std::uint32_t before = 1; before <= 16; ++before) {
            SCOPED_TRACE(::testing::Message() << tag << " at " << before);
            expectRewrittenAlikeQuietOrTraced(
                containerHeader() + piece(kXyzs, kBlockBytes - before - 24) + piece(tag, 9, 1) +
                piece(kPrim, 5, 2) + piece(kXyzs, 4, 3));
        }
    }
}

// Cut anywhere, or broken by a bad size word after a long run of chunks that
// the quiet pass takes in one step, the model is refused alike either way.
TEST(BlockEdges, RefusalsAreTheSameQuietOrTraced) {
    const std::string whole = severalBlocks();
    std::vector<std::string> broken;
    for (std::size_t cut = kBlockBytes - 40; cut < kBlockBytes + 40; cut += 3) {
        broken.push_back(whole.substr(0, cut));
    }
    for (const std::uint32_t size : {0xFFFFFFF8u, 0x7FFFFFFFu, 6u, 5000000u}) {
        for (const std::uint32_t before : {4u, 12u, 20u}) {
            for (const std::uint32_t tag : {kStrn, kHand, kXyzs}) {
                broken.push_back(containerHeader() + piece(kXyzs, kBlockBytes - before - 24) +
                                 chunk(tag, 0, size, "") + whole);
            }
        }
    }
    const auto refusal = [](const std::string& input, bool traced) {
        try {
            rewriteInMemory(input, kVolumes, traced);
        } catch (const ModelError& error) {
            return std::to_string(error.offset()) + " " + error.what();
        }
        return std::string();
    };
    for (const std::string& input : broken) {
        EXPECT_EQ(refusal(input, false), refusal(input, true)) << input.size();
    }
}

// Without a trace the pass counts each run against the largest word; the run
// must stop before the chunk that would pass it, for the chunk to be named.
TEST(BlockEdges, ARunOfCopiedChunksStopsAtTheBudgetAndBeforeAnyOtherChunk) {
    const std::string model = containerHeader() + chunk(kXyzs, 0, 4, payload(4)) +
                              chunk(kStrn, 0, 5, payload(8)) + chunk(kPlan, 0, 0, "") +
                              chunk(kPrim, 0, 4, payload(4)) + chunk(kNorm, 0, 0, "");
    const std::pair<std::int64_t, std::int64_t> budgets[] = {{1000, 4}, {60, 4}, {59, 3},
                                                             {48, 3},   {47, 2}, {11, 0}};
    for (const auto& [budget, chunks] : budgets) {
        std::istringstream in(model);
        ChunkReader reader(in);
        const ChunkReader::CopiedChunks run = reader.takeCopiedChunks(budget);
        EXPECT_EQ(run.count, chunks) << budget;
        const std::int64_t lengths[] = {0, 12, 28, 48, 60};
        EXPECT_EQ(std::ssize(run.bytes), lengths[chunks]) << budget;
        EXPECT_EQ(run.bytes, std::string_view(model).substr(0, run.bytes.size()));
        EXPECT_EQ(reader.offset(), lengths[chunks]);
    }
    const std::string stoppers[] = {words({0x01020304u}), chunk(kHand, 0, 0, ""),
                                    chunk(kXyzs, 0, 0xFFFFFFF8u, ""),
                                    chunk(kNorm, 0, 8, payload(4)), words({kXyzs, 0})};
    for (const std::string& stopper : stoppers) {
        std::istringstream in(containerHeader() + stopper);
        ChunkReader reader(in);
        EXPECT_EQ(reader.takeCopiedChunks(1000).count, 1);
        EXPECT_EQ(reader.offset(), 12);
    }
}

}  // namespace
}  // namespace morvane::testing
