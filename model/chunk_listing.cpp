#include "model/chunk_listing.h"

#include <istream>

#include "model/rewrite_length.h"

namespace morvane {

namespace {

class Lister {
public:
    Lister(std::istream& input, const ListingSink& sink)
        : input_(input), start_(input.tellg()), reader_(input), sink_(sink) {}

    std::optional<CarriedBlock> run() {
        for (ChunkReader::Item item; (item = nextItem()) != ChunkReader::Item::End;) {
            if (item == ChunkReader::Item::UnknownWords) {
                extendUnknownRun(std::ssize(reader_.unknownWords()));
                continue;
            }
            flushUnknownRun();
            const ChunkHeader& chunk = reader_.chunk();
            length_.count(chunk);
            sink_({ListingRow::Type::Chunk, chunk.offset, chunk.occupied, chunk});
            shape_.follow(chunk);
            reader_.skipPayload();
        }
        flushUnknownRun();
        if (reader_.trailingBytes() > 0) {
            sink_({ListingRow::Type::TrailingBytes, reader_.offset(), reader_.trailingBytes(), {}});
        }
        return shape_.carriedBlock(input_, start_, reader_.inputLength());
    }

private:
    // Rows read before a refusal are still shown.
    ChunkReader::Item nextItem() {
        try {
            return reader_.next();
        } catch (const ModelError&) {
            flushUnknownRun();
            throw;
        }
    }

    void extendUnknownRun(std::int64_t bytes) {
        if (unknownBytes_ == 0) {
            unknownStart_ = reader_.offset() - bytes;
        }
        unknownBytes_ += bytes;
    }

    void flushUnknownRun() {
        if (unknownBytes_ > 0) {
            sink_({ListingRow::Type::UnrecognisedWords, unknownStart_, unknownBytes_, {}});
            unknownBytes_ = 0;
        }
    }

    std::istream& input_;
    std::streampos start_;
    ChunkReader reader_;
    // A model is listed as fit when its rewrite fits at the smallest count.
    RewriteLength length_{zrm::kMinVolumes};
    const ListingSink& sink_;
    RewrittenShape shape_;
    std::int64_t unknownStart_ = 0;
    std::int64_t unknownBytes_ = 0;
};

}  // namespace

std::optional<CarriedBlock> ListChunks(std::istream& input, const ListingSink& sink) {
    return Lister(input, sink).run();
}

}  // namespace morvane
