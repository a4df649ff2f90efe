#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/files/safe_output.h"

namespace morvane {

// Where names land, kept compactly for runs of many models: a 64-bit digest
// of each place and of each file, with the number of the name that landed
// there. Two places that share a digest (for a hundred thousand models,
// about one chance in ten billion) only refuse a model that need not be.
class Landings {
public:
    // Makes room for the landings of `names` names at once, so that the
    // table is not grown, and held twice while it grows, name by name.
    void reserve(std::size_t names);
    void add(const OutputLanding& landing, std::uint32_t name);
    // The number of a name that landed where `landing` does, if one did.
    std::optional<std::uint32_t> find(const OutputLanding& landing) const;

private:
    void insert(std::uint64_t digest, std::uint32_t name);
    std::optional<std::uint32_t> lookup(std::uint64_t digest) const;
    void rehash(std::size_t slots);

    // Open addressing, filled up to seven eighths; a digest of 0 marks a
    // free slot.
    std::vector<std::uint64_t> digests_;
    std::vector<std::uint32_t> names_;
    std::size_t used_ = 0;
};

}  // namespace morvane
