#pragma once

#include <cstdint>
#include <iosfwd>

#include "model/trace.h"

// The stream primitives the pass is written in. Words are 32-bit signed
// integers, least significant byte first, and this is the only byte-order code.
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

// A reader that can hand the bytes from where it stands on to a writer.
template <typename Reader, typename Writer>
concept CopiesTo = requires(Reader& in, Writer& out, std::int64_t count) {
    in.copyTo(out, count);
};

// Copies count bytes from where the reader stands to out, announcing itself
// on the trace. A count of 0 or less copies nothing.
template <typename Reader, typename Writer>
requires CopiesTo<Reader, Writer>
void copybytes(Reader& in, Writer& out, std::int32_t count, Trace& trace) {
    trace.number("copybytes, ", count, " bytes\n");
    if (count > 0) {
        in.copyTo(out, count);
    }
}

}  // namespace morvane
