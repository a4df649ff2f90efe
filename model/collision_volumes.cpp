#include "model/collision_volumes.h"

#include <stdexcept>
#include <string>

#include "model/block_writer.h"
#include "model/chunk_reader.h"
#include "model/format.h"
#include "model/rewrite_length.h"
#include "model/stream.h"
#include "model/trace.h"

namespace morvane {

namespace {

using zrm::Handling;

// One rewrite of one model: the reader walks and checks the input, the pass
// decides what each chunk becomes in the output.
class Pass {
public:
    Pass(std::istream& in, std::ostream& out, int volumes, std::ostream& trace,
         KernelCopy* kernelCopy)
        : reader_(in),
          out_(out),
          writer_(out, kernelCopy),
          volumes_(volumes),
          trace_(trace),
          length_(volumes) {}

    PassSummary run() {
        outputStart_ = out_.tellp();
        for (;;) {
            if (!trace_.on()) {
                copyChunksInOneGo();
            }
            const ChunkReader::Item item = reader_.next();
            if (item == ChunkReader::Item::End) {
                break;
            }
            if (item == ChunkReader::Item::UnknownWords) {
                passOver(reader_.unknownWords());
                continue;
            }
            traceHeader(reader_.chunk().kind->tag);
            rewriteChunk(reader_.chunk());
            requireOutputWritten();
        }
        summary_.trailingBytes = reader_.trailingBytes();
        close();
        return summary_;
    }

private:
    // Without a trace to print, runs of chunks copied unchanged are taken and
    // written in one piece; they count as copyChunk would count them.
    void copyChunksInOneGo() {
        const ChunkReader::CopiedChunks run = reader_.takeCopiedChunks(length_.room());
        const auto bytes = std::ssize(run.bytes);
        length_.countCopied(bytes);
        summary_.bytesWritten += bytes;
        summary_.chunksCopied += static_cast<int>(run.count);
        writer_.append(run.bytes.data(), run.bytes.size());
        requireOutputWritten();
    }

    void traceHeader(std::int32_t word) {
        trace_.hex("Header= 0x", static_cast<std::uint32_t>(word));
    }

    void passOver(std::string_view words) {
        if (trace_.on()) {
            for (std::size_t at = 0; at < words.size(); at += zrm::kWordBytes) {
                traceHeader(WordAt(words.data() + at));
            }
        }
        summary_.unrecognisedBytes += std::ssize(words);
    }

    void rewriteChunk(const ChunkHeader& header) {
        switch (header.kind->handling) {
            case Handling::ContainerHeader:
            case Handling::Copy:
            case Handling::CopyPadded:
                copyChunk(header);
                break;
            case Handling::Extend:
                extendPrim(header);
                break;
            case Handling::Drop:
                dropHand();
                break;
        }
    }

    void copyChunk(const ChunkHeader& header) {
        trace_.text("ZRM4, XYZS, PLAN, NORM, STRN\n");
        trace_.number("size=", header.size);
        trace_.number("adjusted size=", header.adjustedSize);
        length_.count(header);
        reader_.stepBackToChunkStart();
        copy(static_cast<std::int32_t>(header.occupied));
        ++summary_.chunksCopied;
    }

    void extendPrim(const ChunkHeader& header) {
        trace_.text("PRIM\n");
        primoffset_ = header.size;
        trace_.number("Primoffset=", primoffset_);
        length_.count(header);
        const std::int32_t newSize = length_.extendedSize(header);
        const std::int32_t blockBytes = newSize - primoffset_;

        reader_.stepBackToChunkStart();
        copy(zrm::kChunkHeaderBytes - zrm::kWordBytes);
        reader_.readWord();
        trace_.number("m_Volumes=", volumes_);
        writer_.writeWord(newSize);
        copy(primoffset_);
        writeVolumeBlock();
        summary_.bytesWritten += zrm::kWordBytes + blockBytes;
        ++summary_.primsExtended;
    }

    void writeVolumeBlock() {
        writer_.writeWord(zrm::kVolumeBlockMarker);
        writer_.writeWord(volumes_);
        for (int volume = 0; volume < volumes_; ++volume) {
            writer_.writeWord(zrm::kEmptyVolume);
        }
    }

    void dropHand() {
        trace_.text("HAND.  ignoring.\n");
        reader_.skipPayload();
        ++summary_.handsDropped;
    }

    void copy(std::int32_t count) {
        copybytes(reader_, writer_, count, trace_);
        summary_.bytesWritten += count;
    }

    void close() {
        for (const std::int32_t word : {zrm::kHand, 0, 8, 0, primoffset_}) {
            writer_.writeWord(word);
        }
        summary_.bytesWritten += zrm::kClosingHandBytes;
        writer_.flush();
        trace_.flush();
        out_.seekp(outputStart_ + std::ostream::off_type{zrm::kSizeWordOffset});
        writeint(out_, length_.total());
        out_.flush();
        requireOutputWritten();
    }

    // Checked after every chunk, so a full disk stops the pass at once.
    void requireOutputWritten() const {
        if (!out_) {
            throw FileError("the output could not be written");
        }
    }

    ChunkReader reader_;
    std::ostream& out_;
    BlockWriter writer_;
    const int volumes_;
    Trace trace_;

    std::ostream::pos_type outputStart_;
    RewriteLength length_;
    std::int32_t primoffset_ = zrm::kNoPrimMarker;
    PassSummary summary_;
};

void requireVolumeCount(int volumes) {
    if (volumes < zrm::kMinVolumes || volumes > zrm::kMaxVolumes) {
        throw std::invalid_argument("the number of collision volumes must be from " +
                                    zrm::VolumeRange() + ", not " + std::to_string(volumes));
    }
}

}  // namespace

PassSummary AddCollisionVolumes(std::istream& input, std::ostream& output, int volumes,
                                std::ostream& trace, KernelCopy* kernelCopy) {
    requireVolumeCount(volumes);
    return Pass(input, output, volumes, trace, kernelCopy).run();
}

}  // namespace morvane
