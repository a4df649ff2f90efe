#include "about_dlg.h"

#include "resources/resource.h"

namespace morvane::ui {

CAboutDlg::CAboutDlg(CDialog* parent) : CDialog(IDD_ABOUTBOX, parent) {}

}  // namespace morvane::ui
