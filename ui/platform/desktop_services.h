#pragma once

#include <filesystem>

#include "user_guide.h"

namespace morvane::ui {

// The desktop's own programs: its URL handler on Linux, the shell on Windows.
class SystemDocumentOpener : public DocumentOpener {
public:
    bool Open(const std::filesystem::path& document) override;
};

// The folder of the running program, as the system started it.
std::filesystem::path ProgramFolder();

// Where the user guide is installed, found from where the program is:
// share/morvane/guide beside the program's bin folder on Linux, the guide
// folder beside morvane.exe on Windows.
std::filesystem::path InstalledGuideFolder();

}  // namespace morvane::ui
