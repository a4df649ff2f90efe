#include "model/files/landings.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace morvane {

namespace {

constexpr std::size_t kFirstSlots = 64;

// Linear probing stays short enough up to seven eighths full for the few
// lookups a model makes, at half the memory of a table kept three quarters
// full at the worst size.
bool fits(std::size_t entries, std::size_t slots) {
    return 8 * entries <= 7 * slots;
}

// Spreads the bits of a value over the whole word (splitmix64's finaliser).
std::uint64_t mix(std::uint64_t value) {
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9u;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBu;
    return value ^ (value >> 31);
}

// Places and files are told apart by their own salt.
std::uint64_t digestOf(const std::filesystem::path::string_type& place) {
    using Text = std::basic_string_view<std::filesystem::path::value_type>;
    return mix(std::hash<Text>{}(Text(place)) ^ 0x5049u) | 1u;
}

std::uint64_t digestOf(const sys::FileIdentity& file) {
    return mix(mix(file.device) ^ file.index ^ 0x46494Cu) | 1u;
}

}  // namespace

void Landings::reserve(std::size_t names) {
    // A name lands at a place and, when it names a file, on that file.
    const std::size_t entries = used_ + 2 * names;
    std::size_t slots = std::max(kFirstSlots, digests_.size());
    while (!fits(entries, slots)) {
        slots *= 2;
    }
    if (slots > digests_.size()) {
        rehash(slots);
    }
}

void Landings::add(const OutputLanding& landing, std::uint32_t name) {
    if (!landing.place.empty()) {
        insert(digestOf(landing.place), name);
    }
    if (landing.file != sys::FileIdentity{}) {
        insert(digestOf(landing.file), name);
    }
}

std::optional<std::uint32_t> Landings::find(const OutputLanding& landing) const {
    if (!landing.place.empty()) {
        if (const std::optional<std::uint32_t> name = lookup(digestOf(landing.place))) {
            return name;
        }
    }
    if (landing.file == sys::FileIdentity{}) {
        return std::nullopt;
    }
    return lookup(digestOf(landing.file));
}

void Landings::insert(std::uint64_t digest, std::uint32_t name) {
    if (lookup(digest)) {
        return;
    }
    if (!fits(used_ + 1, digests_.size())) {
        rehash(digests_.empty() ? kFirstSlots : 2 * digests_.size());
    }
    std::size_t slot = digest & (digests_.size() - 1);
    while (digests_[slot] != 0) {
        slot = (slot + 1) & (digests_.size() - 1);
    }
    digests_[slot] = digest;
    names_[slot] = name;
    ++used_;
}

std::optional<std::uint32_t> Landings::lookup(std::uint64_t digest) const {
    if (digests_.empty()) {
        return std::nullopt;
    }
    for (std::size_t slot = digest & (digests_.size() - 1); digests_[slot] != 0;
         slot = (slot + 1) & (digests_.size() - 1)) {
        if (digests_[slot] == digest) {
            return names_[slot];
        }
    }
    return std::nullopt;
}

void Landings::rehash(std::size_t slots) {
    std::vector<std::uint64_t> digests = std::move(digests_);
    std::vector<std::uint32_t> names = std::move(names_);
    digests_.assign(slots, 0);
    names_.assign(slots, 0);
    used_ = 0;
    for (std::size_t slot = 0; slot < digests.size(); ++slot) {
        if (digests[slot] != 0) {
            insert(digests[slot], names[slot]);
        }
    }
}

}  // namespace morvane
