#pragma once

#include "settings.h"

namespace morvane::ui {

// The settings where the system keeps each user's: under the user's
// configuration folder, as Qt keeps the settings of organisation "morvane"
// and application "morvane", on Linux; under
// HKEY_CURRENT_USER\Software\morvane\morvane on Windows.
class SystemSettings : public Settings {
public:
    std::filesystem::path LastModelFolder() const override;
    void KeepLastModelFolder(const std::filesystem::path& folder) override;
};

}  // namespace morvane::ui
