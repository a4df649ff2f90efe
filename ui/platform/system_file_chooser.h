#pragma once

#include <string>

#include "file_chooser.h"

namespace morvane::ui {

// The system's own file chooser: the desktop's dialog on Linux, the
// file-opening chooser on Windows.
class SystemFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

// The choosers' one filter, "ZRM Files (*.zrm)" in the user's language.
std::string ModelFilesFilter();

}  // namespace morvane::ui
