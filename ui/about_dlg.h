#pragma once

#include "platform/dialog.h"

namespace morvane::ui {

// The program's name, version and rights notice.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace morvane::ui
