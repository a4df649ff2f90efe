#include "collision_volumes.h"

#include <cinttypes>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "format.h"
#include "stream.h"
#include "trace.h"

namespace morvane {

namespace {

using zrm::ChunkKind;
using zrm::Handling;

constexpr std::int64_t kMaxWord = std::numeric_limits<std::int32_t>::max();

std::string describeChunk(const ChunkKind& kind, std::int64_t offset) {
    return std::string(kind.name) + " chunk at offset " + std::to_string(offset);
}

// One rewrite of one model. Offsets are bytes from where the input stood when
// the pass began; every check is in subtraction form against what remains, so
// a crafted size word cannot overflow it.
class Pass {
public:
    Pass(std::istream& in, std::ostream& out, int volumes, std::ostream& trace)
        : in_(in), out_(out), volumes_(volumes), trace_(trace) {}

    PassSummary run() {
        measureInput();
        outputStart_ = out_.tellp();
        requireContainerHeader();
        while (const std::optional<std::int32_t> tag = readTag()) {
            traceLine(trace_, "Header= 0x%08X\n", static_cast<std::uint32_t>(*tag));
            const ChunkKind* kind = zrm::FindChunkKind(*tag);
            if (kind == nullptr) {
                summary_.unrecognisedBytes += zrm::kWordBytes;
                continue;
            }
            rewriteChunk(*kind);
            requireOutputWritten();
        }
        close();
        return summary_;
    }

private:
    struct ChunkHeader {
        const ChunkKind& kind;
        std::int64_t offset;  // of the tag
        std::int32_t size;    // the size word as stored
    };

    void measureInput() {
        const std::istream::pos_type start = in_.tellg();
        in_.seekg(0, std::ios::end);
        const std::istream::pos_type end = in_.tellg();
        in_.seekg(start);
        if (start == std::istream::pos_type(-1) || end == std::istream::pos_type(-1) || !in_) {
            throw FileError("the input cannot be read from start to end");
        }
        inputLength_ = static_cast<std::int64_t>(end - start);
    }

    std::int64_t remaining() const { return inputLength_ - offset_; }

    void requireContainerHeader() {
        if (inputLength_ < zrm::kChunkHeaderBytes) {
            throw ModelError(ModelError::Kind::NotAModel, 0,
                             "not a ZRM model: the file is " + std::to_string(inputLength_) +
                                 " bytes long, too short for the 12-byte ZRM4 header it must "
                                 "begin with");
        }
        const std::int32_t first = readint(in_);
        in_.seekg(-zrm::kWordBytes, std::ios::cur);
        if (first != zrm::kZrm4) {
            throw ModelError(ModelError::Kind::NotAModel, 0,
                             "not a ZRM model: it begins with " + zrm::DescribeWord(first) +
                                 " where the ZRM4 container header must stand");
        }
    }

    // The next word as a tag, or nothing when fewer than 4 bytes are left.
    std::optional<std::int32_t> readTag() {
        if (remaining() < zrm::kWordBytes) {
            summary_.trailingBytes = static_cast<int>(remaining());
            return std::nullopt;
        }
        return readWord();
    }

    std::int32_t readWord() {
        const std::int32_t word = readint(in_);
        offset_ += zrm::kWordBytes;
        return word;
    }

    void rewriteChunk(const ChunkKind& kind) {
        switch (kind.handling) {
            case Handling::ContainerHeader:
            case Handling::Copy:
            case Handling::CopyPadded:
                copyChunk(kind);
                break;
            case Handling::Extend:
                extendPrim(kind);
                break;
            case Handling::Drop:
                dropHand(kind);
                break;
        }
    }

    // Reads the second word and the size word that follow a tag just read.
    ChunkHeader readHeaderWords(const ChunkKind& kind) {
        const std::int64_t chunkOffset = offset_ - zrm::kWordBytes;
        const int wordsBytes = zrm::kChunkHeaderBytes - zrm::kWordBytes;
        if (remaining() < wordsBytes) {
            throw ModelError(ModelError::Kind::TruncatedChunk, chunkOffset,
                             describeChunk(kind, chunkOffset) + ": the header is cut off after " +
                                 std::to_string(zrm::kWordBytes + remaining()) + " of its " +
                                 std::to_string(zrm::kChunkHeaderBytes) + " bytes");
        }
        readWord();
        return ChunkHeader{kind, chunkOffset, readWord()};
    }

    void requireNonNegativeSize(const ChunkHeader& header) const {
        if (header.size < 0) {
            throw ModelError(ModelError::Kind::NegativeSize, header.offset,
                             describeChunk(header.kind, header.offset) +
                                 ": the size word is negative (" + std::to_string(header.size) +
                                 ")");
        }
    }

    void requirePayload(const ChunkHeader& header, std::int64_t payloadBytes) const {
        if (remaining() < payloadBytes) {
            throw ModelError(ModelError::Kind::TruncatedChunk, header.offset,
                             describeChunk(header.kind, header.offset) + ": the payload needs " +
                                 std::to_string(payloadBytes) + " bytes, only " +
                                 std::to_string(remaining()) + " remain");
        }
    }

    void requireWordSized(const ChunkHeader& header, std::int64_t value,
                          const std::string& what) const {
        if (value > kMaxWord) {
            throw ModelError(ModelError::Kind::TooLarge, header.offset,
                             describeChunk(header.kind, header.offset) + ": " + what + " (" +
                                 std::to_string(value) +
                                 ") does not fit in the format's signed 32-bit words");
        }
    }

    // Counts bytes toward the total stored at offset 8 before they are
    // written, so that a model too large to record is refused up front.
    void credit(const ChunkHeader& header, std::int64_t bytes) {
        requireWordSized(header, runningTotal_ + bytes, "the rewritten model's byte count");
        runningTotal_ += bytes;
    }

    void copyChunk(const ChunkKind& kind) {
        traceLine(trace_, "ZRM4, XYZS, PLAN, NORM, STRN\n");
        const ChunkHeader header = readHeaderWords(kind);
        traceLine(trace_, "size=%d\n", header.size);
        const bool isContainer = kind.handling == Handling::ContainerHeader;
        if (!isContainer) {
            requireNonNegativeSize(header);
        }
        const std::int64_t size = paddedSize(header);
        requireWordSized(header, size, "the padded size");
        traceLine(trace_, "adjusted size=%d\n", static_cast<std::int32_t>(size));
        const std::int64_t chunkBytes =
            isContainer ? zrm::kChunkHeaderBytes : size + zrm::kChunkHeaderBytes;
        requireWordSized(header, chunkBytes, "the chunk's length");
        if (!isContainer) {
            requirePayload(header, size);
        }
        credit(header, chunkBytes);
        stepBackToChunkStart();
        copy(static_cast<std::int32_t>(chunkBytes));
        ++summary_.chunksCopied;
    }

    static std::int64_t paddedSize(const ChunkHeader& header) {
        const std::int64_t size = header.size;
        if (header.kind.handling != Handling::CopyPadded || size % zrm::kWordBytes == 0) {
            return size;
        }
        return size + (zrm::kWordBytes - size % zrm::kWordBytes);
    }

    void extendPrim(const ChunkKind& kind) {
        const ChunkHeader header = readHeaderWords(kind);
        traceLine(trace_, "PRIM\n");
        primoffset_ = header.size;
        traceLine(trace_, "Primoffset=%d\n", primoffset_);
        requireNonNegativeSize(header);
        const std::int64_t blockBytes =
            2 * zrm::kWordBytes + std::int64_t{zrm::kWordBytes} * volumes_;
        const std::int64_t newSize = std::int64_t{primoffset_} + blockBytes;
        requireWordSized(header, newSize, "the extended size word");
        requirePayload(header, primoffset_);
        // The total counts the extended chunk 4 bytes short of what it
        // occupies; files written so far carry that count, so it stays.
        credit(header, newSize + zrm::kWordBytes + zrm::kWordBytes);

        stepBackToChunkStart();
        copy(zrm::kChunkHeaderBytes - zrm::kWordBytes);
        readWord();
        traceLine(trace_, "m_Volumes=%d\n", volumes_);
        writeint(out_, static_cast<std::int32_t>(newSize));
        copy(primoffset_);
        writeVolumeBlock();
        summary_.bytesWritten += zrm::kWordBytes + blockBytes;
        ++summary_.primsExtended;
    }

    void writeVolumeBlock() {
        writeint(out_, zrm::kVolumeBlockMarker);
        writeint(out_, volumes_);
        for (int volume = 0; volume < volumes_; ++volume) {
            writeint(out_, zrm::kEmptyVolume);
        }
    }

    void dropHand(const ChunkKind& kind) {
        traceLine(trace_, "HAND.  ignoring.\n");
        const ChunkHeader header = readHeaderWords(kind);
        requireNonNegativeSize(header);
        if (header.size % zrm::kWordBytes != 0) {
            throw ModelError(ModelError::Kind::HandSizeNotWords, header.offset,
                             describeChunk(kind, header.offset) + ": the size word (" +
                                 std::to_string(header.size) +
                                 ") is not a whole number of 4-byte words, so the chunks after "
                                 "it cannot be found");
        }
        requirePayload(header, header.size);
        in_.ignore(header.size);
        offset_ += header.size;
        ++summary_.handsDropped;
    }

    void stepBackToChunkStart() {
        in_.seekg(-zrm::kChunkHeaderBytes, std::ios::cur);
        offset_ -= zrm::kChunkHeaderBytes;
    }

    void copy(std::int32_t count) {
        const std::int32_t copied = copybytes(in_, out_, count, trace_);
        if (copied != count) {
            throw FileError("the input could not be read at offset " +
                            std::to_string(offset_ + copied));
        }
        offset_ += count;
        summary_.bytesWritten += count;
    }

    void close() {
        const ChunkHeader closing{*zrm::FindChunkKind(zrm::kHand), offset_, 0};
        credit(closing, zrm::kClosingHandBytes);
        for (const std::int32_t word : {zrm::kHand, 0, 8, 0, primoffset_}) {
            writeint(out_, word);
        }
        summary_.bytesWritten += zrm::kClosingHandBytes;
        out_.seekp(outputStart_ + std::ostream::off_type{zrm::kSizeWordOffset});
        writeint(out_, static_cast<std::int32_t>(runningTotal_));
        out_.flush();
        requireOutputWritten();
    }

    // Checked after every chunk, so a full disk stops the pass at once.
    void requireOutputWritten() const {
        if (!out_) {
            throw FileError("the output could not be written");
        }
    }

    std::istream& in_;
    std::ostream& out_;
    const int volumes_;
    std::ostream& trace_;

    std::int64_t inputLength_ = 0;
    std::int64_t offset_ = 0;
    std::ostream::pos_type outputStart_;
    std::int32_t primoffset_ = zrm::kNoPrimMarker;
    std::int64_t runningTotal_ = 0;
    PassSummary summary_;
};

void requireVolumeCount(int volumes) {
    if (volumes < zrm::kMinVolumes || volumes > zrm::kMaxVolumes) {
        throw std::invalid_argument("the number of collision volumes must be from 1 to 1000, not " +
                                    std::to_string(volumes));
    }
}

}  // namespace

PassSummary AddCollisionVolumes(std::istream& input, std::ostream& output, int volumes,
                                std::ostream& trace) {
    requireVolumeCount(volumes);
    return Pass(input, output, volumes, trace).run();
}

}  // namespace morvane
