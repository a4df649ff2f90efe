#include "model/chunk_reader.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <string>

#include "model/block_writer.h"
#include "model/errors.h"
#include "model/stream.h"

namespace morvane {

namespace {

constexpr std::int64_t kBlockBytes = 256 * 1024;
// A copy with at least this much left beyond the block is left to the kernel
// where it can move the bytes itself.
constexpr std::int64_t kKernelCopyBytes = kBlockBytes;

// The start of every refusal that concerns one chunk: "PRIM chunk at offset 48".
std::string describeChunk(const ChunkHeader& header) {
    return std::string(header.kind->name) + " chunk at offset " + std::to_string(header.offset);
}

[[noreturn]] void refuse(ModelError::Kind kind, const ChunkHeader& header,
                         const std::string& problem) {
    throw ModelError(kind, header.offset, describeChunk(header) + ": " + problem,
                     std::string(header.kind->name));
}

std::int64_t paddedSize(const zrm::ChunkKind& kind, std::int32_t size) {
    const std::int64_t wide = size;
    if (kind.handling != zrm::Handling::CopyPadded || wide % zrm::kWordBytes == 0) {
        return wide;
    }
    return wide + (zrm::kWordBytes - wide % zrm::kWordBytes);
}

std::int64_t occupiedBytes(const zrm::ChunkKind& kind, std::int64_t adjustedSize) {
    if (kind.handling == zrm::Handling::ContainerHeader) {
        return zrm::kChunkHeaderBytes;
    }
    return zrm::kChunkHeaderBytes + adjustedSize;
}

// The bytes a chunk of a kind copied unchanged occupies, or 0 for any other
// chunk, for a word that is no tag, and for a size word that next() must judge.
std::int64_t copiedChunkBytes(const char* header) {
    const zrm::ChunkKind* kind = zrm::FindChunkKind(WordAt(header));
    if (kind == nullptr) {
        return 0;
    }
    switch (kind->handling) {
        case zrm::Handling::ContainerHeader:
            return zrm::kChunkHeaderBytes;
        case zrm::Handling::Copy:
        case zrm::Handling::CopyPadded: {
            const std::int32_t size = WordAt(header + zrm::kSizeWordOffset);
            return size < 0 ? 0 : occupiedBytes(*kind, paddedSize(*kind, size));
        }
        case zrm::Handling::Extend:
        case zrm::Handling::Drop:
            break;
    }
    return 0;
}

}  // namespace

void RefuseTooLarge(const ChunkHeader& header, std::int64_t value, std::string_view what,
                    ModelError::Kind kind) {
    refuse(kind, header,
           std::string(what) + " (" + std::to_string(value) +
               ") does not fit in the format's signed 32-bit words");
}

ChunkReader::ChunkReader(std::istream& in, Reading reading) : in_(in) {
    measureInput();
    // A small model needs no more than its own length.
    blockBytes_ =
        reading == Reading::HeadersOnly
            ? zrm::kChunkHeaderBytes
            : std::min(kBlockBytes, std::max<std::int64_t>(inputLength_, zrm::kWordBytes));
    block_ = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(blockBytes_));
    cursor_ = end_ = block_.get();
    requireContainerHeader();
}

ChunkReader::~ChunkReader() = default;

void ChunkReader::measureInput() {
    const std::istream::pos_type start = in_.tellg();
    in_.seekg(0, std::ios::end);
    const std::istream::pos_type end = in_.tellg();
    in_.seekg(start);
    if (start == std::istream::pos_type(-1) || end == std::istream::pos_type(-1) || !in_) {
        throw FileError("the input cannot be read from start to end");
    }
    start_ = start;
    inputLength_ = static_cast<std::int64_t>(end - start);
}

void ChunkReader::requireContainerHeader() {
    if (inputLength_ < zrm::kChunkHeaderBytes) {
        throw ModelError(ModelError::Kind::NotAModel, 0,
                         "not a ZRM model: the file is " + std::to_string(inputLength_) +
                             " bytes long, too short for the 12-byte ZRM4 header it must "
                             "begin with");
    }
    require(zrm::kWordBytes);
    const std::int32_t first = WordAt(cursor_);
    if (first != zrm::kZrm4) {
        throw ModelError(ModelError::Kind::NotAModel, 0,
                         "not a ZRM model: it begins with " + zrm::DescribeWord(first) +
                             " where the ZRM4 container header must stand");
    }
}

ChunkReader::Item ChunkReader::next() {
    if (remaining() < zrm::kWordBytes) {
        return Item::End;
    }
    require(zrm::kChunkHeaderBytes);
    const zrm::ChunkKind* kind = zrm::FindChunkKind(WordAt(cursor_));
    if (kind == nullptr) {
        passOverUnknownWords();
        return Item::UnknownWords;
    }
    readHeader(*kind);
    checkSizes(chunk_);
    return Item::Chunk;
}

// A chunk that lies whole in the block fits in the input and is far shorter
// than the largest word, so it passes every check of checkSizes.
ChunkReader::CopiedChunks ChunkReader::takeCopiedChunks(std::int64_t budget) {
    const char* const start = cursor_;
    const char* chunk = start;
    std::int64_t count = 0;
    while (end_ - chunk >= zrm::kChunkHeaderBytes) {
        const std::int64_t occupied = copiedChunkBytes(chunk);
        if (occupied == 0 || occupied > end_ - chunk || occupied > budget - (chunk - start)) {
            break;
        }
        chunk += occupied;
        ++count;
    }
    consume(chunk - start);
    return {std::string_view(start, static_cast<std::size_t>(chunk - start)), count};
}

// The run ends where a known tag stands or where the block ends.
void ChunkReader::passOverUnknownWords() {
    const char* word = cursor_ + zrm::kWordBytes;
    while (end_ - word >= zrm::kWordBytes && zrm::FindChunkKind(WordAt(word)) == nullptr) {
        word += zrm::kWordBytes;
    }
    unknownWords_ = std::string_view(cursor_, static_cast<std::size_t>(word - cursor_));
    consume(word - cursor_);
}

void ChunkReader::readHeader(const zrm::ChunkKind& kind) {
    chunk_ = ChunkHeader{&kind, offset_, 0, 0, 0, zrm::kChunkHeaderBytes};
    if (remaining() < zrm::kChunkHeaderBytes) {
        refuse(ModelError::Kind::TruncatedHeader, chunk_,
               "the header is cut off after " + std::to_string(remaining()) + " of its " +
                   std::to_string(zrm::kChunkHeaderBytes) + " bytes");
    }
    chunk_.second = WordAt(cursor_ + zrm::kWordBytes);
    chunk_.size = WordAt(cursor_ + zrm::kSizeWordOffset);
    consume(zrm::kChunkHeaderBytes);
}

// Every check is in subtraction form against what remains, so a crafted size
// word cannot overflow it.
void ChunkReader::checkSizes(ChunkHeader& header) const {
    const zrm::Handling handling = header.kind->handling;
    if (handling == zrm::Handling::ContainerHeader) {
        header.adjustedSize = header.size;
        return;
    }
    if (header.size < 0) {
        refuse(ModelError::Kind::NegativeSize, header,
               "the size word is negative (" + std::to_string(header.size) + ")");
    }
    if (handling == zrm::Handling::Drop && header.size % zrm::kWordBytes != 0) {
        refuse(ModelError::Kind::HandSizeNotWords, header,
               "the size word (" + std::to_string(header.size) +
                   ") is not a whole number of 4-byte words, so the chunks after it cannot be "
                   "found");
    }
    const std::int64_t padded = paddedSize(*header.kind, header.size);
    RequireWordSized(header, padded, "the padded size", ModelError::Kind::TooLarge);
    const std::int64_t occupied = occupiedBytes(*header.kind, padded);
    if (handling != zrm::Handling::Extend) {
        RequireWordSized(header, occupied, "the chunk's length", ModelError::Kind::TooLarge);
    }
    if (remaining() < padded) {
        refuse(ModelError::Kind::TruncatedChunk, header,
               "the payload needs " + std::to_string(padded) + " bytes, only " +
                   std::to_string(remaining()) + " remain");
    }
    header.adjustedSize = static_cast<std::int32_t>(padded);
    header.occupied = occupied;
}

// The chunk's header is still in the block: next() read it whole from there.
void ChunkReader::stepBackToChunkStart() {
    const std::int64_t back = offset_ - chunk_.offset;
    cursor_ -= back;
    offset_ -= back;
}

void ChunkReader::copyTo(BlockWriter& out, std::int64_t count) {
    const std::int64_t here = std::min(count, buffered());
    out.append(cursor_, static_cast<std::size_t>(here));
    consume(here);
    if (here < count) {
        copyRest(out, count - here);
    }
}

void ChunkReader::copyRest(BlockWriter& out, std::int64_t count) {
    std::int64_t left = count;
    if (left >= kKernelCopyBytes) {
        const std::int64_t moved = out.copyInKernel(left);
        offset_ += moved;
        left -= moved;
    }
    while (left > 0) {
        if (remaining() == 0) {
            failReading(offset_);
        }
        refill();
        const std::int64_t taken = std::min(left, buffered());
        out.append(cursor_, static_cast<std::size_t>(taken));
        consume(taken);
        left -= taken;
    }
}

std::int32_t ChunkReader::readWord() {
    require(zrm::kWordBytes);
    if (buffered() < zrm::kWordBytes) {
        failReading(offset_);
    }
    const std::int32_t word = WordAt(cursor_);
    consume(zrm::kWordBytes);
    return word;
}

// What lies beyond the block is never read: the next read starts past it.
void ChunkReader::skipPayload() {
    const std::int64_t payload = chunk_.occupied - zrm::kChunkHeaderBytes;
    const std::int64_t here = std::min(payload, buffered());
    consume(here);
    offset_ += payload - here;
}

void ChunkReader::require(std::int64_t bytes) {
    if (buffered() < std::min(bytes, remaining())) {
        refill();
    }
}

// Keeps the bytes not yet walked and reads as many more as the block holds.
void ChunkReader::refill() {
    const std::int64_t kept = buffered();
    char* const block = block_.get();
    std::memmove(block, cursor_, static_cast<std::size_t>(kept));
    cursor_ = block;
    end_ = block + kept;
    const std::int64_t wanted = std::min(blockBytes_ - kept, remaining() - kept);
    // Read from where the walk stands, wherever others have moved the stream.
    const std::istream::pos_type from = start_ + std::istream::off_type(offset_ + kept);
    if (in_.rdbuf()->pubseekpos(from, std::ios::in) != from) {
        failReading(offset_ + kept);
    }
    const std::streamsize got = in_.rdbuf()->sgetn(block + kept, wanted);
    end_ += std::max<std::streamsize>(got, 0);
    if (got < wanted) {
        failReading(offset_ + kept + std::max<std::streamsize>(got, 0));
    }
}

void ChunkReader::failReading(std::int64_t at) const {
    throw FileError("the input could not be read at offset " + std::to_string(at));
}

}  // namespace morvane
