#include "model/stream.h"

#include <algorithm>
#include <array>
#include <istream>
#include <ostream>

#include "model/block_writer.h"
#include "model/chunk_reader.h"
#include "model/format.h"
#include "model/trace.h"

namespace morvane {

std::int32_t readint(std::istream& in) {
    std::array<char, zrm::kWordBytes> bytes{};
    in.read(bytes.data(), zrm::kWordBytes);
    return WordAt(bytes.data());
}

void writeint(std::ostream& out, std::int32_t value) {
    std::array<char, zrm::kWordBytes> bytes;
    StoreWord(bytes.data(), value);
    out.write(bytes.data(), zrm::kWordBytes);
}

void copybytes(ChunkReader& in, BlockWriter& out, std::int32_t count, Trace& trace) {
    trace.number("copybytes, ", count, " bytes\n");
    if (count <= 0) {
        return;
    }
    const std::int64_t here = std::min<std::int64_t>(count, in.buffered());
    out.append(in.cursor_, static_cast<std::size_t>(here));
    in.consume(here);
    if (here < count) {
        in.copyRest(out, count - here);
    }
}

}  // namespace morvane
