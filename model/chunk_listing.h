#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>

#include "model/carried_block.h"
#include "model/chunk_reader.h"
#include "model/errors.h"

namespace morvane {

// One row of a model's listing, in the order the rewrite meets them.
struct ListingRow {
    enum class Type { Chunk, UnrecognisedWords, TrailingBytes };

    Type type;
    std::int64_t offset;
    std::int64_t bytes;  // occupied in the input
    ChunkHeader chunk;   // for Type::Chunk
};

using ListingSink = std::function<void(const ListingRow&)>;

// Walks a model as the rewrite does and hands each row to sink as soon as it
// is read; a run of unrecognised words makes one row. A model that the
// rewrite would refuse is refused with the same ModelError, after the rows
// before the fault. Returns the block the model already carries, if it has
// been rewritten before, found without walking it again.
std::optional<CarriedBlock> ListChunks(std::istream& input, const ListingSink& sink);

}  // namespace morvane
