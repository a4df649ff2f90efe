#pragma once

#include <filesystem>

namespace morvane::ui {

// What the window keeps for the user from one run to the next.
class Settings {
public:
    virtual ~Settings() = default;

    // The folder a model was last chosen in; empty when none was kept.
    virtual std::filesystem::path LastModelFolder() const = 0;
    virtual void KeepLastModelFolder(const std::filesystem::path& folder) = 0;
};

}  // namespace morvane::ui
