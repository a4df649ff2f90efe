#pragma once

#include <cstdint>
#include <iosfwd>

// The only byte-order code of the system: words are 32-bit signed integers,
// least significant byte first.
namespace morvane {

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
