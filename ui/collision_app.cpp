#include "collision_app.h"

#include "collision_dlg.h"
#include "platform/icons.h"
#include "resources/resource.h"

namespace morvane::ui {

// Paths are taken as the system gave them, byte for byte, so that a name in
// any encoding still names its file.
CCollisionApp::CCollisionApp(int& argc, char** argv)
    : QApplication(argc, argv), m_modelArguments(argv + (argc > 0 ? 1 : 0), argv + argc) {
    setApplicationName("morvane");
    setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    setWindowIcon(LoadIcon(IDR_MAINFRAME));
}

bool CCollisionApp::InitInstance() {
    QtFileChooser chooser;
    CCollisionDlg dialog(chooser);
    dialog.ChooseOnStart(m_modelArguments);
    dialog.DoModal();
    return false;
}

}  // namespace morvane::ui
