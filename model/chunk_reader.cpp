#include "chunk_reader.h"

#include <istream>
#include <limits>
#include <string>

#include "errors.h"
#include "stream.h"

namespace morvane {

namespace {

constexpr std::int64_t kMaxWord = std::numeric_limits<std::int32_t>::max();

[[noreturn]] void refuse(ModelError::Kind kind, const ChunkHeader& header,
                         const std::string& problem) {
    throw ModelError(kind, header.offset, DescribeChunk(header) + ": " + problem);
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

}  // namespace

std::string DescribeChunk(const ChunkHeader& header) {
    return std::string(header.kind->name) + " chunk at offset " + std::to_string(header.offset);
}

void RequireWordSized(const ChunkHeader& header, std::int64_t value, const std::string& what) {
    if (value > kMaxWord) {
        refuse(ModelError::Kind::TooLarge, header,
               what + " (" + std::to_string(value) +
                   ") does not fit in the format's signed 32-bit words");
    }
}

ChunkReader::ChunkReader(std::istream& in) : in_(in) {
    measureInput();
    requireContainerHeader();
}

void ChunkReader::measureInput() {
    const std::istream::pos_type start = in_.tellg();
    in_.seekg(0, std::ios::end);
    const std::istream::pos_type end = in_.tellg();
    in_.seekg(start);
    if (start == std::istream::pos_type(-1) || end == std::istream::pos_type(-1) || !in_) {
        throw FileError("the input cannot be read from start to end");
    }
    inputLength_ = static_cast<std::int64_t>(end - start);
}

void ChunkReader::requireContainerHeader() {
    if (inputLength_ < zrm::kChunkHeaderBytes) {
        throw ModelError(ModelError::Kind::NotAModel, 0,
                         "not a ZRM model: the file is " + std::to_string(inputLength_) +
                             " bytes long, too short for the 12-byte ZRM4 header it must "
                             "begin with");
    }
    const std::int32_t first = readWord();
    stepBack(zrm::kWordBytes);
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
    word_ = readWord();
    const zrm::ChunkKind* kind = zrm::FindChunkKind(word_);
    if (kind == nullptr) {
        return Item::UnknownWord;
    }
    chunk_ = readHeader(*kind);
    checkSizes(chunk_);
    return Item::Chunk;
}

std::int32_t ChunkReader::readWord() {
    const std::int32_t word = readint(in_);
    if (!in_) {
        throw FileError("the input could not be read at offset " + std::to_string(offset_));
    }
    offset_ += zrm::kWordBytes;
    return word;
}

ChunkHeader ChunkReader::readHeader(const zrm::ChunkKind& kind) {
    ChunkHeader header{&kind, offset_ - zrm::kWordBytes, 0, 0, 0, zrm::kChunkHeaderBytes};
    const std::int64_t wordsBytes = zrm::kChunkHeaderBytes - zrm::kWordBytes;
    if (remaining() < wordsBytes) {
        refuse(ModelError::Kind::TruncatedChunk, header,
               "the header is cut off after " + std::to_string(zrm::kWordBytes + remaining()) +
                   " of its " + std::to_string(zrm::kChunkHeaderBytes) + " bytes");
    }
    header.second = readWord();
    header.size = readWord();
    return header;
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
    RequireWordSized(header, padded, "the padded size");
    const std::int64_t occupied = occupiedBytes(*header.kind, padded);
    if (handling != zrm::Handling::Extend) {
        RequireWordSized(header, occupied, "the chunk's length");
    }
    if (remaining() < padded) {
        refuse(ModelError::Kind::TruncatedChunk, header,
               "the payload needs " + std::to_string(padded) + " bytes, only " +
                   std::to_string(remaining()) + " remain");
    }
    header.adjustedSize = static_cast<std::int32_t>(padded);
    header.occupied = occupied;
}

void ChunkReader::stepBackToChunkStart() {
    stepBack(offset_ - chunk_.offset);
}

void ChunkReader::stepBack(std::int64_t bytes) {
    in_.seekg(-bytes, std::ios::cur);
    offset_ -= bytes;
}

// A copy that comes up short means the input changed or failed while it was
// read, since every length was checked against it beforehand.
void ChunkReader::copyTo(std::ostream& out, std::int32_t count, std::ostream& trace) {
    const std::int32_t copied = copybytes(in_, out, count, trace);
    if (copied != count) {
        throw FileError("the input could not be read at offset " +
                        std::to_string(offset_ + copied));
    }
    offset_ += count;
}

void ChunkReader::skipPayload() {
    const std::int64_t payload = chunk_.occupied - zrm::kChunkHeaderBytes;
    in_.ignore(payload);
    if (!in_) {
        throw FileError("the input could not be read at offset " + std::to_string(offset_));
    }
    offset_ += payload;
}

void ChunkReader::seekPastPayload() {
    const std::int64_t payload = chunk_.occupied - zrm::kChunkHeaderBytes;
    in_.seekg(payload, std::ios::cur);
    if (!in_) {
        throw FileError("the input could not be read at offset " + std::to_string(offset_));
    }
    offset_ += payload;
}

}  // namespace morvane
