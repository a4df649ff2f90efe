#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <vector>

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

// A model of `length` bytes that begins with `prefix` and is zeros after it,
// so that sizes near 2 GiB can be tried without holding them in memory.
class VirtualModelBuf : public std::streambuf {
public:
    VirtualModelBuf(std::string prefix, std::int64_t length)
        : prefix_(std::move(prefix)), length_(length) {}

protected:
    int_type underflow() override {
        if (position_ >= length_) {
            return traits_type::eof();
        }
        const auto start = static_cast<std::size_t>(position_);
        block_.assign(block_.size(), '\0');
        for (std::size_t i = 0; i < block_.size() && start + i < prefix_.size(); ++i) {
            block_[i] = prefix_[start + i];
        }
        const auto served = static_cast<std::ptrdiff_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(block_.size()), length_ - position_));
        setg(block_.data(), block_.data(), block_.data() + served);
        position_ += served;
        return traits_type::to_int_type(block_[0]);
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        const std::int64_t here = position_ - (egptr() - gptr());
        const std::int64_t target = direction == std::ios_base::beg   ? offset
                                    : direction == std::ios_base::cur ? here + offset
                                                                      : length_ + offset;
        position_ = target;
        setg(block_.data(), block_.data(), block_.data());
        return pos_type(target);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

private:
    std::string prefix_;
    std::int64_t length_;
    std::int64_t position_ = 0;
    std::vector<char> block_ = std::vector<char>(4096);
};

void expectTooLarge(const std::string& prefix, const std::string& message) {
    VirtualModelBuf model(prefix, std::int64_t{3} << 30);
    std::istream in(&model);
    std::ostringstream out;
    std::ostringstream trace;
    try {
        AddCollisionVolumes(in, out, 2, trace);
        ADD_FAILURE() << "accepted";
    } catch (const ModelError& error) {
        EXPECT_EQ(error.kind(), Kind::TooLarge);
        EXPECT_EQ(error.offset(), 12);
        EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
    EXPECT_LE(out.str().size(), 12u) << "wrote before refusing";
}

TEST(HugeModels, ExtendedPrimSizeMustFitAWord) {
    expectTooLarge(containerHeader() + chunk(kPrim, 0, 0x7FFFFFF0u, ""),
                   "the extended size word (2147483648)");
}

TEST(HugeModels, RewrittenModelMustBeCountableAtOffsetEight) {
    expectTooLarge(containerHeader() + chunk(kXyzs, 0, 0x7FFFFFF0u, ""),
                   "the rewritten model's byte count (2147483656)");
}

// A stream that accepts this many bytes and then fails, like a full disk.
class FillingBuf : public std::streambuf {
public:
    explicit FillingBuf(std::size_t room) : room_(room) {}

protected:
    int_type overflow(int_type c) override {
        if (room_ == 0) {
            return traits_type::eof();
        }
        --room_;
        return c;
    }
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
        return pos_type(0);
    }

private:
    std::size_t room_;
};

TEST(FailingOutput, StopsThePassWithAFileError) {
    const std::string input =
        containerHeader() + chunk(kXyzs, 0, 4096, payload(4096)) + chunk(kPrim, 0, 4, payload(4));
    std::istringstream in(input);
    FillingBuf full(1000);
    std::ostream out(&full);
    std::ostringstream trace;
    EXPECT_THROW(AddCollisionVolumes(in, out, 1, trace), FileError);
    EXPECT_EQ(trace.str().find("PRIM"), std::string::npos) << "the pass went on after the failure";
}

}  // namespace
}  // namespace morvane::testing
