#include "output_invariants.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "model/carried_block.h"

namespace morvane::fuzzing {

namespace {

// The tags as literal values, apart from the model's own table, so that a
// wrong entry there cannot hide itself.
constexpr std::uint32_t kZrm4 = 0x5A524D34u;
constexpr std::uint32_t kXyzs = 0x58595A53u;
constexpr std::uint32_t kPlan = 0x504C414Eu;
constexpr std::uint32_t kNorm = 0x4E4F524Du;
constexpr std::uint32_t kStrn = 0x5354524Eu;
constexpr std::uint32_t kPrim = 0x5052494Du;
constexpr std::uint32_t kHand = 0x48414E44u;
constexpr std::uint32_t kNoPrim = 0xABCDEFFFu;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kClosingBytes = 20;

struct BrokenRule : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool kept, const std::string& rule) {
    if (!kept) {
        throw BrokenRule(rule);
    }
}

std::uint32_t wordAt(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

std::string hex(std::uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", word);
    return text;
}

class OutputReader {
public:
    OutputReader(std::string_view output, int volumes)
        : output_(output),
          volumes_(static_cast<std::uint32_t>(volumes)),
          blockBytes_(8 + 4 * static_cast<std::size_t>(volumes)) {}

    // Walks the chunks between the container header and the closing HAND
    // chunk; each must end exactly where the next begins.
    void walk() {
        require(output_.size() >= kHeaderBytes + kClosingBytes,
                "the output holds a container header and a closing HAND chunk");
        const std::size_t end = output_.size() - kClosingBytes;
        std::size_t offset = kHeaderBytes;
        while (offset < end) {
            require(end - offset >= kHeaderBytes, "a chunk header fits before the closing HAND");
            const std::size_t length = chunkLength(offset, end - offset);
            require(length <= end - offset, "a chunk fits before the closing HAND");
            offset += length;
        }
    }

    std::size_t prims() const { return prims_; }
    std::uint32_t lastPrimoffset() const { return lastPrimoffset_; }
    std::size_t lastPrimAt() const { return lastPrimAt_; }

private:
    std::size_t chunkLength(std::size_t offset, std::size_t room) {
        const std::uint32_t tag = wordAt(output_, offset);
        const std::size_t size = wordAt(output_, offset + 8);
        switch (tag) {
            case kZrm4:
                return kHeaderBytes;
            case kXyzs:
            case kPlan:
            case kNorm:
                return kHeaderBytes + size;
            case kStrn:
                return kHeaderBytes + (size + 3) / 4 * 4;
            case kPrim:
                checkPrim(offset, size, room);
                return kHeaderBytes + size;
            default:
                require(false,
                        "every chunk before the closing HAND is a copied kind or PRIM, not " +
                            hex(tag) + " at " + std::to_string(offset));
                return 0;
        }
    }

    void checkPrim(std::size_t offset, std::size_t size, std::size_t room) {
        require(size >= blockBytes_ && room - kHeaderBytes >= size,
                "a PRIM chunk holds its volume block");
        const std::size_t block = offset + kHeaderBytes + size - blockBytes_;
        require(wordAt(output_, block) == 4, "a volume block opens with the word 4");
        require(wordAt(output_, block + 4) == volumes_, "a volume block carries the count");
        for (std::size_t slot = block + 8; slot < block + blockBytes_; slot += 4) {
            require(wordAt(output_, slot) == 0xFFFFFFFFu, "every volume slot is 0xFFFFFFFF");
        }
        lastPrimoffset_ = static_cast<std::uint32_t>(size - blockBytes_);
        lastPrimAt_ = offset;
        ++prims_;
    }

    std::string_view output_;
    std::uint32_t volumes_;
    std::size_t blockBytes_;
    std::size_t prims_ = 0;
    std::uint32_t lastPrimoffset_ = kNoPrim;
    std::size_t lastPrimAt_ = 0;
};

void checkContainerHeader(std::string_view input, std::string_view output) {
    require(output.substr(0, 8) == input.substr(0, 8),
            "the output begins with the input's tag and second word");
}

void checkClosingHand(std::string_view output, std::uint32_t lastPrimoffset) {
    const std::size_t at = output.size() - kClosingBytes;
    require(
        wordAt(output, at) == kHand && wordAt(output, at + 4) == 0 && wordAt(output, at + 12) == 0,
        "the output ends with a HAND chunk");
    require(wordAt(output, at + 8) == 8, "the closing HAND chunk's size word is 8");
    require(wordAt(output, at + 16) == lastPrimoffset,
            "the closing HAND chunk records the last PRIM chunk's size or 0xABCDEFFF");
}

void checkSizeWord(std::string_view output, std::size_t prims) {
    require(wordAt(output, 8) == output.size() - 4 * prims,
            "the offset-8 word is the output's length less 4 per PRIM chunk");
}

void checkGrowth(std::string_view input, std::string_view output, std::size_t prims, int volumes) {
    const std::size_t most =
        input.size() + prims * (4 * static_cast<std::size_t>(volumes) + 8) + kClosingBytes;
    require(output.size() <= most, "the output grows by no more than the volume blocks and HAND");
}

void checkSummary(std::string_view output, std::size_t prims, const PassSummary& summary) {
    require(summary.bytesWritten == static_cast<std::int64_t>(output.size()),
            "the summary counts every byte written");
    require(summary.primsExtended == static_cast<int>(prims),
            "the summary counts every PRIM chunk extended");
}

// So that rewriting it again can be warned of.
void checkRecognised(std::string_view output, const OutputReader& reader, int volumes) {
    std::istringstream in{std::string(output)};
    const std::optional<CarriedBlock> block = FindCarriedBlock(in);
    if (reader.prims() == 0) {
        require(!block, "an output without PRIM chunks carries no block");
        return;
    }
    require(block == CarriedBlock{static_cast<std::int64_t>(reader.lastPrimAt()),
                                  static_cast<std::int32_t>(reader.lastPrimoffset()), volumes},
            "an output is recognised by the block in its last PRIM chunk");
}

}  // namespace

std::string FindBrokenRule(std::string_view input, std::string_view output, int volumes,
                           const PassSummary& summary) {
    try {
        OutputReader reader(output, volumes);
        reader.walk();
        checkContainerHeader(input, output);
        checkClosingHand(output, reader.lastPrimoffset());
        checkSizeWord(output, reader.prims());
        checkGrowth(input, output, reader.prims(), volumes);
        checkSummary(output, reader.prims(), summary);
        checkRecognised(output, reader, volumes);
        return {};
    } catch (const BrokenRule& broken) {
        return broken.what();
    }
}

}  // namespace morvane::fuzzing
