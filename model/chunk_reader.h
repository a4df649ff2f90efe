#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "format.h"

namespace morvane {

// A chunk header read and checked against the rest of the input.
struct ChunkHeader {
    const zrm::ChunkKind* kind;
    std::int64_t offset;        // of the tag, from the start of the model
    std::int32_t second;        // the second word, never interpreted
    std::int32_t size;          // the size word as stored
    std::int32_t adjustedSize;  // STRN sizes rounded up to whole words; others as stored
    std::int64_t occupied;      // bytes the chunk occupies in the input, header included
};

// Walks a model chunk by chunk the way the rewrite does: a known tag is read
// with its header, a word that is no known tag is passed over on its own, and
// fewer than 4 bytes at the end close the walk. Everything read is checked
// before anyone acts on it, and a model that breaks a rule of the format is
// refused with a ModelError that names the chunk and its offset.
class ChunkReader {
public:
    enum class Item { Chunk, UnknownWord, End };

    // Takes the input where it stands; it must be seekable and begin with the
    // ZRM4 container header.
    explicit ChunkReader(std::istream& in);

    Item next();

    const ChunkHeader& chunk() const { return chunk_; }
    // The tag just read, known or not.
    std::int32_t word() const { return word_; }
    // Where the next read starts.
    std::int64_t offset() const { return offset_; }
    std::int64_t inputLength() const { return inputLength_; }
    // Bytes left over at the end, too few to make a word; known after End.
    int trailingBytes() const { return static_cast<int>(inputLength_ - offset_); }

    // Moves back to the current chunk's tag, so that it can be copied whole.
    void stepBackToChunkStart();
    // Copies count bytes to out through copybytes, tracing the copy.
    void copyTo(std::ostream& out, std::int32_t count, std::ostream& trace);
    std::int32_t readWord();
    void skipPayload();
    // The same without reading the payload, for walks that only need the headers.
    void seekPastPayload();

private:
    void measureInput();
    void requireContainerHeader();
    void stepBack(std::int64_t bytes);
    ChunkHeader readHeader(const zrm::ChunkKind& kind);
    void checkSizes(ChunkHeader& header) const;
    std::int64_t remaining() const { return inputLength_ - offset_; }

    std::istream& in_;
    std::int64_t inputLength_ = 0;
    std::int64_t offset_ = 0;
    std::int32_t word_ = 0;
    ChunkHeader chunk_{};
};

// The start of every refusal that concerns one chunk: "PRIM chunk at offset 48".
std::string DescribeChunk(const ChunkHeader& header);

// Refuses the chunk when a length computed for it does not fit in a word.
void RequireWordSized(const ChunkHeader& header, std::int64_t value, const std::string& what);

}  // namespace morvane
