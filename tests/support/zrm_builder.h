#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Builds ZRM models byte by byte for tests: words are little-endian and
// chunk headers are tag, second word, size word.
namespace morvane::testing {

inline std::string words(std::initializer_list<std::uint32_t> values) {
    std::string bytes;
    for (const std::uint32_t value : values) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((value >> shift) & 0xFFu);
        }
    }
    return bytes;
}

// Payload bytes that differ from each other and from every tag.
inline std::string payload(std::size_t length, char seed = 'a') {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += static_cast<char>(seed + static_cast<char>(i % 7));
    }
    return bytes;
}

inline std::string chunk(std::uint32_t tag, std::uint32_t second, std::uint32_t size,
                         const std::string& body) {
    return words({tag, second, size}) + body;
}

inline std::string containerHeader(std::uint32_t size = 100) {
    return words({0x5A524D34u, 0x11111111u, size});
}

// The collision-volume block that a PRIM chunk gets for `volumes` volumes.
inline std::string volumeBlock(int volumes) {
    const auto count = static_cast<std::uint32_t>(volumes);
    return words({4u, count}) + std::string(4 * std::size_t{count}, '\xFF');
}

inline std::string closingHand(std::uint32_t primoffset) {
    return words({0x48414E44u, 0u, 8u, 0u, primoffset});
}

inline std::string withWordAt(std::string bytes, std::size_t offset, std::uint32_t word) {
    return bytes.replace(offset, 4, words({word}));
}

inline constexpr std::uint32_t kZrm4 = 0x5A524D34u;
inline constexpr std::uint32_t kXyzs = 0x58595A53u;
inline constexpr std::uint32_t kPlan = 0x504C414Eu;
inline constexpr std::uint32_t kNorm = 0x4E4F524Du;
inline constexpr std::uint32_t kStrn = 0x5354524Eu;
inline constexpr std::uint32_t kPrim = 0x5052494Du;
inline constexpr std::uint32_t kHand = 0x48414E44u;

}  // namespace morvane::testing
