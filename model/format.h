#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The ZRM model file: a flat run of chunks, each opened by three little-endian
// 32-bit words (tag, second word, size word) and followed by its payload.
namespace morvane::zrm {

// A tag is its four letters read as a big-endian character code, so the file
// holds the letters in reverse order ("PRIM" is stored as 4D 49 52 50).
constexpr std::int32_t MakeTag(const char (&letters)[5]) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(letters[0]) << 24 |
                                     static_cast<std::uint32_t>(letters[1]) << 16 |
                                     static_cast<std::uint32_t>(letters[2]) << 8 |
                                     static_cast<std::uint32_t>(letters[3]));
}

inline constexpr std::int32_t kZrm4 = MakeTag("ZRM4");
inline constexpr std::int32_t kXyzs = MakeTag("XYZS");
inline constexpr std::int32_t kPlan = MakeTag("PLAN");
inline constexpr std::int32_t kNorm = MakeTag("NORM");
inline constexpr std::int32_t kStrn = MakeTag("STRN");
inline constexpr std::int32_t kPrim = MakeTag("PRIM");
inline constexpr std::int32_t kHand = MakeTag("HAND");

// What the rewrite does with a chunk, which also says how long its payload is.
enum class Handling {
    ContainerHeader,  // ZRM4: 12 header bytes; the rest of the file is its content
    Copy,             // payload of exactly the size word
    CopyPadded,       // STRN: payload of the size word rounded up to a multiple of 4
    Extend,           // PRIM: copied with the collision-volume block appended
    Drop,             // HAND: skipped whole words; one new HAND chunk closes the file
};

struct ChunkKind {
    std::string_view name;
    std::int32_t tag;
    Handling handling;
};

inline constexpr std::array<ChunkKind, 7> kChunkKinds{{
    {"ZRM4", kZrm4, Handling::ContainerHeader},
    {"XYZS", kXyzs, Handling::Copy},
    {"PLAN", kPlan, Handling::Copy},
    {"NORM", kNorm, Handling::Copy},
    {"STRN", kStrn, Handling::CopyPadded},
    {"PRIM", kPrim, Handling::Extend},
    {"HAND", kHand, Handling::Drop},
}};

// Every word of the input is tried as a tag, so the lookup is one multiply
// into a table in which each kind has a slot of its own.
namespace lookup {

inline constexpr int kSlotBits = 3;

constexpr std::uint32_t SlotOf(std::int32_t tag, std::uint32_t multiplier) {
    return (static_cast<std::uint32_t>(tag) * multiplier) >> (32 - kSlotBits);
}

constexpr bool GivesEachKindASlot(std::uint32_t multiplier) {
    std::array<bool, 1u << kSlotBits> taken{};
    for (const ChunkKind& kind : kChunkKinds) {
        const std::uint32_t slot = SlotOf(kind.tag, multiplier);
        if (taken[slot]) {
            return false;
        }
        taken[slot] = true;
    }
    return true;
}

constexpr std::uint32_t FindMultiplier() {
    std::uint32_t multiplier = 1;
    while (!GivesEachKindASlot(multiplier)) {
        multiplier += 2;
    }
    return multiplier;
}

inline constexpr std::uint32_t kMultiplier = FindMultiplier();

// (Not named "slots", which Qt's headers take for themselves.)
constexpr std::array<const ChunkKind*, 1u << kSlotBits> MakeTable() {
    std::array<const ChunkKind*, 1u << kSlotBits> table{};
    for (const ChunkKind& kind : kChunkKinds) {
        table[SlotOf(kind.tag, kMultiplier)] = &kind;
    }
    return table;
}

inline constexpr std::array<const ChunkKind*, 1u << kSlotBits> kTable = MakeTable();

}  // namespace lookup

// The kind a tag names, or nullptr for a word that is no known tag.
constexpr const ChunkKind* FindChunkKind(std::int32_t tag) {
    const ChunkKind* kind = lookup::kTable[lookup::SlotOf(tag, lookup::kMultiplier)];
    return kind != nullptr && kind->tag == tag ? kind : nullptr;
}

inline constexpr int kWordBytes = 4;
inline constexpr int kChunkHeaderBytes = 12;
inline constexpr int kSizeWordOffset = 8;  // in every chunk header, and so in the file
inline constexpr int kClosingHandBytes = 20;

// The last word of the closing HAND chunk when the input had no PRIM chunk.
inline constexpr std::int32_t kNoPrimMarker = static_cast<std::int32_t>(0xABCDEFFFu);
// The word that opens a collision-volume block, before the count.
inline constexpr std::int32_t kVolumeBlockMarker = 4;
// Every volume slot of a new block holds this word (FF FF FF FF).
inline constexpr std::int32_t kEmptyVolume = -1;

inline constexpr int kMinVolumes = 1;
inline constexpr int kMaxVolumes = 1000;
// "1 to 1000", for messages.
std::string VolumeRange();

// A word shown for people: 0x5052494D ('PRIM'), the letters only when printable.
std::string DescribeWord(std::int32_t word);

}  // namespace morvane::zrm
