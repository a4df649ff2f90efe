#pragma once

#include <filesystem>
#include <optional>

#include "collision_dlg.h"

namespace morvane::ui {

// A picture needs nothing of the desktop, and keeps nothing in the user's
// settings.
class NoDesktop : public FileChooser, public DocumentOpener, public Settings {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest&) override {
        return std::nullopt;
    }
    bool Open(const std::filesystem::path&) override { return false; }
    std::filesystem::path LastModelFolder() const override { return {}; }
    void KeepLastModelFolder(const std::filesystem::path&) override {}
};

}  // namespace morvane::ui
