#pragma once

#include "file_chooser.h"

namespace morvane::ui {

// The system's own file chooser: the desktop's dialog on Linux, the
// file-opening chooser on Windows.
class SystemFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

}  // namespace morvane::ui
