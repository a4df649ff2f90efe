#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

// The shapes of model that the timings cover, each the worst case of one part
// of the pass: one huge payload, masses of tiny chunks, every kind mixed, a
// long run of unrecognised words, and the small models of a batch.
namespace morvane::bench {

struct Shape {
    std::string_view name;
    std::string_view description;
    int volumes;  // the count the timings rewrite it with
};

inline constexpr std::array<Shape, 6> kShapes{{
    {"one-prim", "one PRIM chunk", 1000},
    {"large-chunks", "8 MiB XYZS and PRIM chunks with a STRN and a HAND between", 1000},
    {"xyzs-16", "16-byte XYZS chunks (4-byte payloads)", 1000},
    {"mixed-64", "64-byte chunks of every kind, PRIM and HAND mixed", 1},
    {"unknown-words", "unrecognised words for half, then one PRIM chunk", 1000},
    {"small", "a small model of about 9 KB (the batch's)", 1000},
}};

const Shape* FindShape(std::string_view name);

// Receives a model's bytes in order, in pieces.
using ByteSink = std::function<void(std::string_view bytes)>;

// Hands the model of the given shape and about `bytes` long (the small shape
// ignores it) to sink; returns how many chunks it holds, the run of
// unrecognised words counted as one.
std::int64_t WriteShape(const Shape& shape, std::int64_t bytes, const ByteSink& sink);

}  // namespace morvane::bench
