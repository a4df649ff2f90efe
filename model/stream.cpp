#include "model/stream.h"

#include <array>
#include <istream>
#include <ostream>

#include "model/format.h"
#include "model/trace.h"

namespace morvane {

namespace {

constexpr std::int32_t kCopyBlockBytes = 2048;

// Moves up to `count` bytes through the buffer; returns how many arrived.
std::int32_t transfer(std::istream& in, std::ostream& out,
                      std::array<char, kCopyBlockBytes>& buffer, std::int32_t count) {
    in.read(buffer.data(), count);
    const auto arrived = static_cast<std::int32_t>(in.gcount());
    out.write(buffer.data(), arrived);
    return arrived;
}

}  // namespace

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

// A short read ends the copy: bytes the input did not deliver are never
// invented, and the caller learns of the shortfall from the result.
std::int32_t copybytes(std::istream& in, std::ostream& out, std::int32_t count,
                       std::ostream& trace) {
    Trace(trace).number("copybytes, ", count, " bytes\n");
    std::array<char, kCopyBlockBytes> buffer;
    const std::int32_t blocks = count / kCopyBlockBytes;
    const std::int32_t rest = count % kCopyBlockBytes;
    std::int32_t copied = 0;
    for (std::int32_t block = 0; block < blocks; ++block) {
        const std::int32_t arrived = transfer(in, out, buffer, kCopyBlockBytes);
        copied += arrived;
        if (arrived < kCopyBlockBytes) {
            return copied;
        }
    }
    if (rest > 0) {
        copied += transfer(in, out, buffer, rest);
    }
    return copied;
}

}  // namespace morvane
