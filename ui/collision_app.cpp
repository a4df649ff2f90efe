#include "collision_app.h"

#include "collision_dlg.h"
#include "platform/icons.h"
#include "resources/resource.h"

namespace morvane::ui {

CCollisionApp::CCollisionApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("morvane");
    setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    setWindowIcon(LoadIcon(IDR_MAINFRAME));
}

bool CCollisionApp::InitInstance() {
    QtFileChooser chooser;
    CCollisionDlg dialog(chooser);
    dialog.DoModal();
    return false;
}

}  // namespace morvane::ui
