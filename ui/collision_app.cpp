#include "collision_app.h"

#include <utility>

#include "collision_dlg.h"
#include "platform/system_file_chooser.h"

namespace morvane::ui {

CCollisionApp::CCollisionApp(int& argc, char** argv, std::vector<std::filesystem::path> models)
    : CWinApp(argc, argv), m_modelArguments(std::move(models)) {}

bool CCollisionApp::InitInstance() {
    SystemFileChooser chooser;
    CCollisionDlg dialog(chooser);
    dialog.ChooseOnStart(m_modelArguments);
    dialog.DoModal();
    return false;
}

}  // namespace morvane::ui
