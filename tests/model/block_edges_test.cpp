// The pass reads its input in blocks of 256 KiB, and without a trace it takes
// runs of copied chunks in one step. Models several blocks long put every
// kind of chunk, unrecognised words and refusals across the blocks' edges;
// quiet and traced, the rewrite must be the same byte for byte.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/chunk_reader.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

constexpr int kVolumes = 3;

constexpr std::size_t kBlockBytes = 256 * 1024;

enum class Piece { Xyzs, Plan, Norm, Strn, Prim, Hand, UnknownWords, ContainerHeader };
constexpr Piece kPieces[] = {Piece::Xyzs, Piece::Plan,         Piece::Strn, Piece::Prim,
                             Piece::Hand, Piece::UnknownWords, Piece::Norm, Piece::ContainerHeader};

// A model and, beside it, its rewrite as the format says it must be.
class Model {
public:
    Model() { add(containerHeader(), containerHeader()); }

    std::size_t size() const { return input_.size(); }
    const std::string& input() const { return input_; }

    void append(Piece piece, std::uint32_t size, std::uint32_t second = 0) {
        const std::string body = payload(size, static_cast<char>('a' + second % 13));
        switch (piece) {
            case Piece::Xyzs:
                return copied(chunk(kXyzs, second, size, body));
            case Piece::Plan:
                return copied(chunk(kPlan, second, size, body));
            case Piece::Norm:
                return copied(chunk(kNorm, second, size, body));
            case Piece::Strn:
                return copied(chunk(kStrn, second, size, payload((size + 3) / 4 * 4)));
            case Piece::Prim:
                add(chunk(kPrim, second, size, body),
                    chunk(kPrim, second, size + 4 * kVolumes + 8, body) + volumeBlock(kVolumes));
                primoffset_ = size;
                ++prims_;
                return;
            case Piece::Hand:
                return add(chunk(kHand, second, size / 4 * 4, payload(size / 4 * 4)), "");
            case Piece::UnknownWords:
                return add(std::string(4 * (size % 11 + 1), '\x01'), "");
            case Piece::ContainerHeader:
                return copied(containerHeader(second));
        }
    }

    // An XYZS chunk that makes the model `length` bytes long.
    void fillTo(std::size_t length) {
        append(Piece::Xyzs, static_cast<std::uint32_t>(length - size() - 12));
    }

    std::string expected() const {
        const std::string rewrite = expected_ + closingHand(primoffset_);
        return withSizeWord(rewrite, static_cast<std::uint32_t>(rewrite.size()) - 4 * prims_);
    }

private:
    void copied(const std::string& bytes) { add(bytes, bytes); }
    void add(const std::string& input, const std::string& output) {
        input_ += input;
        expected_ += output;
    }

    std::string input_;
    std::string expected_;
    std::uint32_t primoffset_ = 0xABCDEFFFu;
    std::uint32_t prims_ = 0;
};

// About 1.3 MiB: runs of small pieces of every kind whose sizes shift their
// edges against the blocks', and now and then a payload longer than a block.
Model severalBlocks(bool longPayloads = true) {
    Model model;
    for (std::uint32_t i = 0; model.size() < (1300u << 10); ++i) {
        const std::uint32_t size = longPayloads && i % 97 == 0 ? 300000 + i : i * 37 % 301;
        model.append(kPieces[i % std::size(kPieces)], size, i);
    }
    return model;
}

void expectRewrittenAlikeQuietOrTraced(const Model& model, const std::string& trailing = "") {
    const std::string expected = model.expected();
    const Rewritten traced = rewriteInMemory(model.input() + trailing, kVolumes);
    const Rewritten quiet = rewriteInMemory(model.input() + trailing, kVolumes, false);
    ASSERT_TRUE(traced.output == expected) << "the traced rewrite differs";
    ASSERT_TRUE(quiet.output == expected) << "the quiet rewrite differs";
    EXPECT_EQ(quiet.summary, traced.summary);
    EXPECT_EQ(quiet.summary.trailingBytes, static_cast<int>(trailing.size()));
}

TEST(BlockEdges, ModelsOfSeveralBlocksAreRewrittenByteForByteQuietOrTraced) {
    const Model model = severalBlocks();
    expectRewrittenAlikeQuietOrTraced(model);
    expectRewrittenAlikeQuietOrTraced(model, "xy");
    expectRewrittenAlikeQuietOrTraced(severalBlocks(false));
}

// Each piece starts 1 to 16 bytes before the first block ends, so that its
// header, or its run of words, is cut by the edge at every place.
TEST(BlockEdges, EveryPieceAcrossTheFirstBlockEdge) {
    for (const Piece piece : kPieces) {
        for (std::size_t before = 1; before <= 16; ++before) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(piece) << " at " << before);
            Model model;
            model.fillTo(kBlockBytes - before);
            model.append(piece, 9, 1);
            model.append(Piece::Prim, 5, 2);
            model.append(Piece::Xyzs, 4, 3);
            expectRewrittenAlikeQuietOrTraced(model);
        }
    }
}

// Cut anywhere, or broken by a bad size word after a long run of chunks that
// the quiet pass takes in one step, the model is refused alike either way.
TEST(BlockEdges, RefusalsAreTheSameQuietOrTraced) {
    const std::string whole = severalBlocks().input();
    std::vector<std::string> broken;
    for (std::size_t cut = kBlockBytes - 40; cut < kBlockBytes + 40; cut += 3) {
        broken.push_back(whole.substr(0, cut));
    }
    for (const std::uint32_t size : {0xFFFFFFF8u, 0x7FFFFFFFu, 6u, 5000000u}) {
        for (const std::size_t before : {4u, 12u, 20u}) {
            for (const std::uint32_t tag : {kStrn, kHand, kXyzs}) {
                Model model;
                model.fillTo(kBlockBytes - before);
                broken.push_back(model.input() + chunk(tag, 0, size, "") + whole);
            }
        }
    }
    for (const std::string& input : broken) {
        std::string traced;
        std::string quiet;
        try {
            rewriteInMemory(input, kVolumes);
        } catch (const ModelError& error) {
            traced = std::to_string(error.offset()) + " " + error.what();
        }
        try {
            rewriteInMemory(input, kVolumes, false);
        } catch (const ModelError& error) {
            quiet = std::to_string(error.offset()) + " " + error.what();
        }
        EXPECT_EQ(quiet, traced) << input.size();
    }
}

// Without a trace the pass counts each run against the largest word; the run
// must stop before the chunk that would pass it, so that the chunk is
// refused by name as the traced pass refuses it.
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
