#include "model_shapes.h"

#include <algorithm>
#include <string>

namespace morvane::bench {

namespace {

constexpr std::uint32_t kZrm4 = 0x5A524D34u;
constexpr std::uint32_t kXyzs = 0x58595A53u;
constexpr std::uint32_t kPlan = 0x504C414Eu;
constexpr std::uint32_t kNorm = 0x4E4F524Du;
constexpr std::uint32_t kStrn = 0x5354524Eu;
constexpr std::uint32_t kPrim = 0x5052494Du;
constexpr std::uint32_t kHand = 0x48414E44u;
// No tag, and no byte of it lines up with one either.
constexpr std::uint32_t kUnrecognised = 0x01020304u;

constexpr std::size_t kPieceBytes = 1 << 20;

void appendWord(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((value >> shift) & 0xFFu);
    }
}

std::string filler(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>(i * 131 % 251);
    }
    return bytes;
}

// A STRN payload is padded to whole words; its size word keeps the unpadded length.
std::string chunk(std::uint32_t tag, std::uint32_t size) {
    std::string bytes;
    appendWord(bytes, tag);
    appendWord(bytes, 0);
    appendWord(bytes, size);
    return bytes + filler(tag == kStrn ? (size + 3) / 4 * 4 : size);
}

// Sends a payload of any length without holding it whole.
void sendPayload(std::int64_t length, const ByteSink& sink) {
    static const std::string kFiller = filler(kPieceBytes);
    for (std::int64_t left = length; left > 0;) {
        const auto step = static_cast<std::size_t>(std::min<std::int64_t>(left, kPieceBytes));
        sink(std::string_view(kFiller).substr(0, step));
        left -= static_cast<std::int64_t>(step);
    }
}

void sendHeader(std::uint32_t tag, std::uint32_t size, const ByteSink& sink) {
    std::string header;
    appendWord(header, tag);
    appendWord(header, 0);
    appendWord(header, size);
    sink(header);
}

// Repeats `cycle` until about `bytes` have been sent; returns the repeats.
std::int64_t sendRepeated(const std::string& cycle, std::int64_t bytes, const ByteSink& sink) {
    std::string piece;
    while (piece.size() + cycle.size() <= kPieceBytes) {
        piece += cycle;
    }
    const auto cyclesPerPiece = static_cast<std::int64_t>(piece.size() / cycle.size());
    const std::int64_t cycles = std::max<std::int64_t>(1, bytes / std::ssize(cycle));
    for (std::int64_t left = cycles; left > 0;) {
        const std::int64_t step = std::min(left, cyclesPerPiece);
        sink(std::string_view(piece).substr(0, static_cast<std::size_t>(step) * cycle.size()));
        left -= step;
    }
    return cycles;
}

std::int64_t onePrim(std::int64_t bytes, const ByteSink& sink) {
    sendHeader(kZrm4, 0, sink);
    const std::int64_t payload = std::max<std::int64_t>(0, bytes - 24);
    sendHeader(kPrim, static_cast<std::uint32_t>(payload), sink);
    sendPayload(payload, sink);
    return 2;
}

std::int64_t largeChunks(std::int64_t bytes, const ByteSink& sink) {
    constexpr std::uint32_t kChunkBytes = 8 << 20;
    const std::string between = chunk(kStrn, 13) + chunk(kHand, 64);
    sendHeader(kZrm4, 0, sink);
    std::int64_t written = 12;
    std::int64_t chunks = 1;
    for (int index = 0; written < bytes; ++index) {
        sendHeader(index % 2 == 0 ? kXyzs : kPrim, kChunkBytes, sink);
        sendPayload(kChunkBytes, sink);
        sink(between);
        written += 12 + kChunkBytes + std::ssize(between);
        chunks += 3;
    }
    return chunks;
}

std::int64_t xyzs16(std::int64_t bytes, const ByteSink& sink) {
    sink(chunk(kZrm4, 0));
    return 1 + sendRepeated(chunk(kXyzs, 4), bytes - 12, sink);
}

// Every chunk occupies 64 bytes; the STRN chunk's size word needs padding.
std::int64_t mixed64(std::int64_t bytes, const ByteSink& sink) {
    const std::string cycle = chunk(kXyzs, 52) + chunk(kPlan, 52) + chunk(kNorm, 52) +
                              chunk(kStrn, 50) + chunk(kPrim, 52) + chunk(kHand, 52);
    sink(chunk(kZrm4, 0));
    return 1 + 6 * sendRepeated(cycle, bytes - 12, sink);
}

std::int64_t unknownWords(std::int64_t bytes, const ByteSink& sink) {
    std::string word;
    appendWord(word, kUnrecognised);
    sink(chunk(kZrm4, 0));
    const std::int64_t words = sendRepeated(word, bytes / 2, sink);
    const std::int64_t payload = std::max<std::int64_t>(0, bytes - 24 - 4 * words);
    sendHeader(kPrim, static_cast<std::uint32_t>(payload), sink);
    sendPayload(payload, sink);
    return 2 + words;
}

std::int64_t small(const ByteSink& sink) {
    const std::string model = chunk(kZrm4, 0) + chunk(kXyzs, 4608) + chunk(kNorm, 1024) +
                              chunk(kStrn, 13) + chunk(kPrim, 3072) + chunk(kHand, 64);
    sink(model);
    return 6;
}

}  // namespace

const Shape* FindShape(std::string_view name) {
    const auto found = std::find_if(kShapes.begin(), kShapes.end(),
                                    [name](const Shape& shape) { return shape.name == name; });
    return found == kShapes.end() ? nullptr : &*found;
}

std::int64_t WriteShape(const Shape& shape, std::int64_t bytes, const ByteSink& sink) {
    if (shape.name == "one-prim") {
        return onePrim(bytes, sink);
    }
    if (shape.name == "large-chunks") {
        return largeChunks(bytes, sink);
    }
    if (shape.name == "xyzs-16") {
        return xyzs16(bytes, sink);
    }
    if (shape.name == "mixed-64") {
        return mixed64(bytes, sink);
    }
    if (shape.name == "unknown-words") {
        return unknownWords(bytes, sink);
    }
    return small(sink);
}

}  // namespace morvane::bench
