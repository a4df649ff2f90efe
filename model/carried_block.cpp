#include "model/carried_block.h"

#include <istream>
#include <vector>

#include "model/errors.h"
#include "model/stream.h"

namespace morvane {

namespace {

constexpr std::int32_t kClosingHandSize = zrm::kClosingHandBytes - zrm::kChunkHeaderBytes;

std::vector<std::int32_t> readWordsAt(std::istream& model, std::streampos start,
                                      std::int64_t offset, std::int64_t count) {
    model.clear();
    model.seekg(start + std::streamoff{offset});
    std::vector<std::int32_t> words;
    for (std::int64_t i = 0; i < count; ++i) {
        words.push_back(readint(model));
    }
    if (!model) {
        throw FileError("the model could not be read at offset " + std::to_string(offset));
    }
    return words;
}

// HAND, 0, 8 and then 0 and the payload offset of the block.
bool isClosingHand(const ChunkHeader& chunk, std::int64_t length) {
    return chunk.kind->tag == zrm::kHand && chunk.second == 0 && chunk.size == kClosingHandSize &&
           length - chunk.offset == zrm::kClosingHandBytes;
}

bool endsWithClosingHand(std::istream& model, std::streampos start, std::int64_t length) {
    if (length < zrm::kChunkHeaderBytes + zrm::kClosingHandBytes) {
        return false;
    }
    const std::vector<std::int32_t> words =
        readWordsAt(model, start, length - zrm::kClosingHandBytes, 4);
    return words == std::vector<std::int32_t>{zrm::kHand, 0, kClosingHandSize, 0};
}

// The block's own bytes: the marker, the count, and an empty slot per volume.
bool holdsBlock(std::istream& model, std::streampos start, std::int64_t offset,
                std::int32_t volumes) {
    const std::vector<std::int32_t> words = readWordsAt(model, start, offset, 2 + volumes);
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i] != zrm::kEmptyVolume) {
            return false;
        }
    }
    return words[0] == zrm::kVolumeBlockMarker && words[1] == volumes;
}

}  // namespace

void RewrittenShape::follow(const ChunkHeader& chunk) {
    if (chunk.kind->tag == zrm::kPrim) {
        lastPrim_ = chunk;
    }
    lastChunk_ = chunk;
}

// The size word of an extended PRIM chunk is P + 4V + 8, where P is the
// payload offset the closing HAND chunk records; V follows from it.
std::optional<CarriedBlock> RewrittenShape::carriedBlock(std::istream& model, std::streampos start,
                                                         std::int64_t length) const {
    if (!lastPrim_ || !lastChunk_ || !isClosingHand(*lastChunk_, length)) {
        return std::nullopt;
    }
    const std::vector<std::int32_t> hand =
        readWordsAt(model, start, lastChunk_->offset + zrm::kChunkHeaderBytes, 2);
    const std::int32_t payloadOffset = hand[1];
    const std::int64_t blockBytes = std::int64_t{lastPrim_->size} - payloadOffset;
    if (hand[0] != 0 || payloadOffset < 0 || blockBytes < 2 * zrm::kWordBytes ||
        blockBytes % zrm::kWordBytes != 0) {
        return std::nullopt;
    }
    const std::int64_t volumes = blockBytes / zrm::kWordBytes - 2;
    if (volumes < zrm::kMinVolumes || volumes > zrm::kMaxVolumes) {
        return std::nullopt;
    }
    const CarriedBlock block{lastPrim_->offset, payloadOffset, static_cast<std::int32_t>(volumes)};
    if (!holdsBlock(model, start, block.offset(), block.volumes)) {
        return std::nullopt;
    }
    return block;
}

// The reader stands at the start of the model again after the look at its end,
// for it counts offsets from there.
std::optional<CarriedBlock> FindCarriedBlock(std::istream& model) {
    try {
        const std::streampos start = model.tellg();
        ChunkReader reader(model, ChunkReader::Reading::HeadersOnly);
        if (!endsWithClosingHand(model, start, reader.inputLength())) {
            return std::nullopt;
        }
        model.seekg(start);
        RewrittenShape shape;
        for (ChunkReader::Item item; (item = reader.next()) != ChunkReader::Item::End;) {
            if (item == ChunkReader::Item::Chunk) {
                shape.follow(reader.chunk());
                reader.skipPayload();
            }
        }
        return shape.carriedBlock(model, start, reader.inputLength());
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace morvane
