#include "collision_app.h"

#include <utility>

#include "collision_dlg.h"
#include "platform/desktop_services.h"
#include "platform/system_file_chooser.h"
#include "platform/system_settings.h"

namespace morvane::ui {

CCollisionApp::CCollisionApp(int& argc, char** argv, std::vector<std::filesystem::path> models)
    : CWinApp(argc, argv), m_modelArguments(std::move(models)) {}

bool CCollisionApp::InitInstance() {
    SystemFileChooser chooser;
    SystemDocumentOpener desktop;
    UserGuide guide(desktop, InstalledGuideFolder());
    SystemSettings settings;
    CCollisionDlg dialog(chooser, guide, settings);
    dialog.ChooseOnStart(m_modelArguments);
    dialog.DoModal();
    return false;
}

}  // namespace morvane::ui
