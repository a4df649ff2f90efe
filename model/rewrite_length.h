#pragma once

#include <cstdint>

#include "model/chunk_reader.h"

namespace morvane {

// The byte count that a rewrite with `volumes` volumes stores at offset 8,
// counted for each chunk before anything of it is written. Room for the
// closing HAND chunk is kept all along, so a model whose rewrite cannot be
// recorded is refused at the chunk that breaks it, before that chunk is
// written, and never at the very end of a long write.
class RewriteLength {
public:
    explicit RewriteLength(int volumes) : volumes_(volumes) {}

    // Counts what the rewrite writes for the chunk; refuses it with a
    // ModelError when the count would no longer fit in a word.
    void count(const ChunkHeader& header);

    // How many bytes of chunks copied unchanged can still be counted.
    std::int64_t room() const;
    // Counts chunks copied unchanged that together fit in room().
    void countCopied(std::int64_t bytes) { counted_ += bytes; }

    // The size word an extended PRIM chunk gets.
    std::int32_t extendedSize(const ChunkHeader& prim) const;

    // The count to store, the closing HAND chunk included.
    std::int32_t total() const;

private:
    std::int64_t wideExtendedSize(const ChunkHeader& prim) const;
    void add(const ChunkHeader& header, std::int64_t bytes);

    int volumes_;
    std::int64_t counted_ = 0;
};

}  // namespace morvane
