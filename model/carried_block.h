#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>

#include "model/chunk_reader.h"

// A model that a rewrite has already been through ends with the closing HAND
// chunk, and its last PRIM chunk carries the collision-volume block at the
// payload offset that HAND chunk records. Rewriting it again appends a second
// block to every PRIM chunk, which is seldom what anyone wants.
namespace morvane {

struct CarriedBlock {
    std::int64_t primOffset;     // of the last PRIM chunk, from the start of the model
    std::int32_t payloadOffset;  // where the block starts in that chunk's payload
    std::int32_t volumes;

    // Where the block starts, from the start of the model.
    std::int64_t offset() const { return primOffset + zrm::kChunkHeaderBytes + payloadOffset; }

    friend bool operator==(const CarriedBlock&, const CarriedBlock&) = default;
};

// Follows a walk of a model's chunks and keeps the two that show whether it
// carries a block, so that a walk made for another purpose tells it as well.
class RewrittenShape {
public:
    void follow(const ChunkHeader& chunk);

    // Once the walk has reached the end: reads the closing HAND chunk's payload
    // and the last PRIM chunk's block, and no other byte. start is where the
    // walk began in model, length the model's length from there.
    std::optional<CarriedBlock> carriedBlock(std::istream& model, std::streampos start,
                                             std::int64_t length) const;

private:
    std::optional<ChunkHeader> lastPrim_;
    std::optional<ChunkHeader> lastChunk_;
};

// For a model nobody has walked: reads its last 20 bytes, and only when they
// are a closing HAND chunk walks its chunk headers, seeking over every
// payload, to find the last PRIM chunk. A model that a rewrite would refuse,
// or that cannot be read, carries no block as far as this is concerned: the
// rewrite says what is wrong with it.
std::optional<CarriedBlock> FindCarriedBlock(std::istream& model);

}  // namespace morvane
