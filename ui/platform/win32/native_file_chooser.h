#pragma once

#include <windows.h>
//
#include <commdlg.h>

#include <string>

#include "file_chooser.h"

namespace morvane::ui {

// The system's file-opening chooser, for saving too: it neither asks before
// a name is overwritten nor hides the read-only check box.
class SystemFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;
};

// What the chooser is asked: the settings and the buffers they point to.
struct OpenFileRequest {
    explicit OpenFileRequest(const ChooserRequest& request);
    OpenFileRequest(const OpenFileRequest&) = delete;
    OpenFileRequest& operator=(const OpenFileRequest&) = delete;

    std::wstring title;
    std::wstring file;  // the initial name in, the chosen path out
    OPENFILENAMEW settings{};
};

}  // namespace morvane::ui
