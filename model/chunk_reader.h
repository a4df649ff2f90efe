#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/format.h"

namespace morvane {

class BlockWriter;

// A chunk header read and checked against the rest of the input.
struct ChunkHeader {
    const zrm::ChunkKind* kind;
    std::int64_t offset;        // of the tag, from the start of the model
    std::int32_t second;        // the second word, never interpreted
    std::int32_t size;          // the size word as stored
    std::int32_t adjustedSize;  // STRN sizes rounded up to whole words; others as stored
    std::int64_t occupied;      // bytes the chunk occupies in the input, header included
};

// Walks a model chunk by chunk the way the rewrite does, in large blocks of the
// input: a known tag is read with its header, any other word is passed over,
// and fewer than 4 bytes end the walk. Everything read is checked before
// anyone acts on it; a model that breaks a rule of the format is refused with
// a ModelError that names the chunk and its offset.
class ChunkReader {
public:
    // UnknownWords is a run of one or more words in a row that are no known tag.
    enum class Item { Chunk, UnknownWords, End };

    // How much is read at once: large blocks for a walk that copies the
    // payloads, or no more than a chunk header for one that looks at the
    // headers alone and passes over every payload unread.
    enum class Reading { InBlocks, HeadersOnly };

    // Takes the input where it stands; it must be seekable and begin with the
    // ZRM4 container header. Others may move the stream between the reader's
    // calls.
    explicit ChunkReader(std::istream& in, Reading reading = Reading::InBlocks);
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;
    ~ChunkReader();

    Item next();

    // Chunks that the rewrite copies unchanged, as they stand in the input.
    struct CopiedChunks {
        std::string_view bytes;
        std::int64_t count;
    };
    // Takes, from here on, the chunks of the kinds the rewrite copies unchanged
    // (the container header, XYZS, PLAN, NORM and STRN) in one step, as long as
    // each lies whole in the block and their bytes together stay within
    // `budget`. Each one taken has passed every check of next(); the walk
    // stops before anything else, which next() then reads, and refuses if it
    // must.
    CopiedChunks takeCopiedChunks(std::int64_t budget);

    const ChunkHeader& chunk() const { return chunk_; }
    // The words of the run just passed over, 4 bytes each as the input holds them.
    std::string_view unknownWords() const { return unknownWords_; }
    // Where the next read starts.
    std::int64_t offset() const { return offset_; }
    std::int64_t inputLength() const { return inputLength_; }
    // Bytes left over at the end, too few to make a word; known after End.
    int trailingBytes() const { return static_cast<int>(inputLength_ - offset_); }

    // Moves back to the current chunk's tag, so that it can be copied whole.
    void stepBackToChunkStart();
    std::int32_t readWord();
    // Passes over the payload; what the block does not hold is never read.
    void skipPayload();
    // Copies count bytes from here to out: from the block, and beyond it
    // inside the kernel where out can take them so, or else through the block
    // again. An input that ends before count bytes is refused, as a chunk that
    // another program cut short.
    void copyTo(BlockWriter& out, std::int64_t count);

private:
    void measureInput();
    void requireContainerHeader();
    void readHeader(const zrm::ChunkKind& kind);
    void checkSizes(ChunkHeader& header) const;
    void passOverUnknownWords();
    void copyRest(BlockWriter& out, std::int64_t count);
    // Makes at least `bytes` of the input (or all that remains) readable in the block.
    void require(std::int64_t bytes);
    void refill();
    [[noreturn]] void failReading(std::int64_t at) const;
    std::int64_t remaining() const { return inputLength_ - offset_; }
    std::int64_t buffered() const { return end_ - cursor_; }
    void consume(std::int64_t bytes) {
        cursor_ += bytes;
        offset_ += bytes;
    }

    std::istream& in_;
    std::istream::pos_type start_;  // of the model in the stream
    std::int64_t inputLength_ = 0;
    std::int64_t offset_ = 0;
    std::int64_t blockBytes_ = 0;
    std::unique_ptr<char[]> block_;
    const char* cursor_ = nullptr;  // the byte at offset_
    const char* end_ = nullptr;     // just past the bytes read into the block
    ChunkHeader chunk_{};
    std::string_view unknownWords_;
};

[[noreturn]] void RefuseTooLarge(const ChunkHeader& header, std::int64_t value,
                                 std::string_view what, ModelError::Kind kind);

// Refuses the chunk, as `kind`, when a length computed for it does not fit
// in a word: TooLarge for the chunk's own sizes, GrowsTooLarge for what the
// rewrite makes of them.
inline void RequireWordSized(const ChunkHeader& header, std::int64_t value, std::string_view what,
                             ModelError::Kind kind) {
    if (value > INT32_MAX) [[unlikely]] {
        RefuseTooLarge(header, value, what, kind);
    }
}

}  // namespace morvane
