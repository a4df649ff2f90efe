#pragma once

#include "file_chooser.h"

namespace morvane::ui {

// The system's file-opening chooser, for saving too: it neither asks before
// a name is overwritten nor hides the read-only check box.
class SystemFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

}  // namespace morvane::ui
