#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/files/system_calls.h"

namespace morvane {

// The models a run reads, in order, kept as one block of text, so that a
// library of a hundred thousand models takes a few megabytes. Each model
// knows the part of its name below the folder it was found under, which a
// run that keeps the folder tree writes it under.
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

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::filesystem::path path(std::size_t model) const;
    // The part below its folder, each name as the system reads it.
    std::filesystem::path below(std::size_t model) const;

private:
    void addFound(const std::filesystem::path& model, std::size_t belowAt);
    void walk(const std::filesystem::path& folder, std::size_t belowAt,
              const std::optional<sys::FileIdentity>& skipped, std::vector<std::string>& problems);

    std::filesystem::path::string_type text_;
    std::vector<std::uint32_t> ends_;     // of each model's name in text_
    std::vector<std::uint32_t> belowAt_;  // where its part below begins, from its start
};

// Whether a name is a model file's, as a walk takes it: ending in .zrm in
// any case.
bool HasModelFileName(const std::filesystem::path& name);

}  // namespace morvane
