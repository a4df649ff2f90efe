#include "model_shapes.h"

#include <algorithm>
#include <string>

#include "support/zrm_builder.h"

namespace morvane::bench {

namespace {

using namespace morvane::testing;

// No tag, and no byte of it lines up with one either.
constexpr std::uint32_t kUnrecognised = 0x01020304u;

constexpr std::size_t kPieceBytes = 1 << 20;

// A STRN payload is padded to whole words; its size word keeps the unpadded length.
std::string filledChunk(std::uint32_t tag, std::uint32_t size) {
    return chunk(tag, 0, size, payload(tag == kStrn ? (size + 3) / 4 * 4 : size));
}

// Sends a payload of any length without holding it whole.
void sendPayload(std::int64_t length, const ByteSink& sink) {
    static const std::string kFiller = payload(kPieceBytes);
    for (std::int64_t left = length; left > 0;) {
        const auto step = static_cast<std::size_t>(std::min<std::int64_t>(left, kPieceBytes));
        sink(std::string_view(kFiller).substr(0, step));
        left -= static_cast<std::int64_t>(step);
    }
}

void sendHeader(std::uint32_t tag, std::uint32_t size, const ByteSink& sink) {
    sink(words({tag, 0, size}));
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
    const std::int64_t primPayload = std::max<std::int64_t>(0, bytes - 24);
    sendHeader(kPrim, static_cast<std::uint32_t>(primPayload), sink);
    sendPayload(primPayload, sink);
    return 2;
}

std::int64_t largeChunks(std::int64_t bytes, const ByteSink& sink) {
    constexpr std::uint32_t kChunkBytes = 8 << 20;
    const std::string between = filledChunk(kStrn, 13) + filledChunk(kHand, 64);
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
    sink(filledChunk(kZrm4, 0));
    return 1 + sendRepeated(filledChunk(kXyzs, 4), bytes - 12, sink);
}

// Every chunk occupies 64 bytes; the STRN chunk's size word needs padding.
std::int64_t mixed64(std::int64_t bytes, const ByteSink& sink) {
    const std::string cycle = filledChunk(kXyzs, 52) + filledChunk(kPlan, 52) +
                              filledChunk(kNorm, 52) + filledChunk(kStrn, 50) +
                              filledChunk(kPrim, 52) + filledChunk(kHand, 52);
    sink(filledChunk(kZrm4, 0));
    return 1 + 6 * sendRepeated(cycle, bytes - 12, sink);
}

std::int64_t unknownWords(std::int64_t bytes, const ByteSink& sink) {
    sink(filledChunk(kZrm4, 0));
    const std::int64_t unknown = sendRepeated(words({kUnrecognised}), bytes / 2, sink);
    const std::int64_t primPayload = std::max<std::int64_t>(0, bytes - 24 - 4 * unknown);
    sendHeader(kPrim, static_cast<std::uint32_t>(primPayload), sink);
    sendPayload(primPayload, sink);
    return 2 + unknown;
}

std::int64_t small(const ByteSink& sink) {
    const std::string model = filledChunk(kZrm4, 0) + filledChunk(kXyzs, 4608) +
                              filledChunk(kNorm, 1024) + filledChunk(kStrn, 13) +
                              filledChunk(kPrim, 3072) + filledChunk(kHand, 64);
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
