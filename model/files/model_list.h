#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/files/system_calls.h"

namespace morvane {

// The models a run reads, in order, kept compactly, so that a library of a
// hundred thousand models takes a megabyte or two: names that follow one
// another in a tree share most of their beginning, which each name keeps
// only once. Each model knows the part of its name below the folder it was
// found under, which a run that keeps the folder tree writes it under.
class ModelList {
public:
    // A model named on its own; the part below is its file name.
    void add(const std::filesystem::path& model);
    // Every model file under `folder` (a name ending in .zrm, in any case),
    // in name order, folders among files where their names fall. Links to
    // folders are not followed, other files are passed over, and `skipped`
    // (the run's output folder) is never walked. Returns what could not be
    // read, a message each; the rest is still found.
    std::vector<std::string> addTree(const std::filesystem::path& folder,
                                     const std::optional<sys::FileIdentity>& skipped);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::filesystem::path path(std::size_t model) const;
    // The part below its folder, each name as the system reads it.
    std::filesystem::path below(std::size_t model) const;

private:
    using Text = std::filesystem::path::string_type;

    void addFound(const std::filesystem::path& model, std::size_t belowAt);
    void walk(const std::filesystem::path& folder, std::size_t belowAt,
              const std::optional<sys::FileIdentity>& skipped, std::vector<std::string>& problems);
    // The model's whole name, and where its part below begins.
    Text decode(std::size_t model, std::size_t& belowAt) const;

    // Each model: the length it shares with the name before it, the length
    // of the rest, where its part below begins, then the rest. Every 16th
    // shares nothing, so that any model is found by decoding a few names.
    Text text_;
    std::vector<std::uint32_t> restarts_;  // where every 16th model begins in text_
    Text last_;                            // the name added last
    std::size_t count_ = 0;
};

// Whether a name is a model file's, as a walk takes it: ending in .zrm in
// any case.
bool HasModelFileName(const std::filesystem::path& name);

}  // namespace morvane
