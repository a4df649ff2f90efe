#pragma once

#include <cstdint>
#include <iosfwd>

// The only byte-order code of the system: words are 32-bit signed integers,
// least significant byte first.
namespace morvane {

// The word stored in the 4 bytes at `bytes`.
inline std::int32_t WordAt(const char* bytes) {
    const auto byte = [bytes](int index) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[index]));
    };
    return static_cast<std::int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
}

inline void StoreWord(char* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int index = 0; index < 4; ++index) {
        bytes[index] = static_cast<char>((bits >> (8 * index)) & 0xFFu);
    }
}

// Reads the next word. When fewer than 4 bytes remain, the stream's end-of-file
// indicator is set and the bytes that were there are returned in the low end
// of a zero-filled word.
std::int32_t readint(std::istream& in);

void writeint(std::ostream& out, std::int32_t value);

// Copies count bytes from in to out through one 2048-byte buffer, announcing
// itself on the trace. A count of 0 or less copies nothing. Returns the bytes
// actually transferred: fewer than count when the input ran out or failed.
std::int32_t copybytes(std::istream& in, std::ostream& out, std::int32_t count,
                       std::ostream& trace);

}  // namespace morvane
