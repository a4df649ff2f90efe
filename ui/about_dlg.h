#pragma once

#include "platform/dialog.h"

namespace morvane::ui {

// The program's name, version and rights notice.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CDialog* parent = nullptr);
};

}  // namespace morvane::ui
