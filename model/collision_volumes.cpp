#include "collision_volumes.h"

#include <stdexcept>
#include <string>

#include "chunk_reader.h"
#include "format.h"
#include "rewrite_length.h"
#include "stream.h"
#include "trace.h"

namespace morvane {

namespace {

using zrm::Handling;

// One rewrite of one model: the reader walks and checks the input, the pass
// decides what each chunk becomes in the output.
class Pass {
public:
    Pass(std::istream& in, std::ostream& out, int volumes, std::ostream& trace)
        : reader_(in), out_(out), volumes_(volumes), trace_(trace), length_(volumes) {}

    PassSummary run() {
        outputStart_ = out_.tellp();
        for (ChunkReader::Item item; (item = reader_.next()) != ChunkReader::Item::End;) {
            traceLine(trace_, "Header= 0x%08X\n", static_cast<std::uint32_t>(reader_.word()));
            if (item == ChunkReader::Item::UnknownWord) {
                summary_.unrecognisedBytes += zrm::kWordBytes;
                continue;
            }
            rewriteChunk(reader_.chunk());
            requireOutputWritten();
        }
        summary_.trailingBytes = reader_.trailingBytes();
        close();
        return summary_;
    }

private:
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
        traceLine(trace_, "ZRM4, XYZS, PLAN, NORM, STRN\n");
        traceLine(trace_, "size=%d\n", header.size);
        traceLine(trace_, "adjusted size=%d\n", header.adjustedSize);
        length_.count(header);
        reader_.stepBackToChunkStart();
        copy(static_cast<std::int32_t>(header.occupied));
        ++summary_.chunksCopied;
    }

    void extendPrim(const ChunkHeader& header) {
        traceLine(trace_, "PRIM\n");
        primoffset_ = header.size;
        traceLine(trace_, "Primoffset=%d\n", primoffset_);
        length_.count(header);
        const std::int32_t newSize = length_.extendedSize(header);
        const std::int32_t blockBytes = newSize - primoffset_;

        reader_.stepBackToChunkStart();
        copy(zrm::kChunkHeaderBytes - zrm::kWordBytes);
        reader_.readWord();
        traceLine(trace_, "m_Volumes=%d\n", volumes_);
        writeint(out_, newSize);
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

    void dropHand() {
        traceLine(trace_, "HAND.  ignoring.\n");
        reader_.skipPayload();
        ++summary_.handsDropped;
    }

    void copy(std::int32_t count) {
        reader_.copyTo(out_, count, trace_);
        summary_.bytesWritten += count;
    }

    void close() {
        for (const std::int32_t word : {zrm::kHand, 0, 8, 0, primoffset_}) {
            writeint(out_, word);
        }
        summary_.bytesWritten += zrm::kClosingHandBytes;
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
    const int volumes_;
    std::ostream& trace_;

    std::ostream::pos_type outputStart_;
    RewriteLength length_;
    std::int32_t primoffset_ = zrm::kNoPrimMarker;
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
