#include "collision_app.h"

#include <algorithm>

#include "collision_dlg.h"
#include "model/path_text.h"
#include "platform/icons.h"
#include "resources/resource.h"

namespace morvane::ui {

// Paths are read as the command-line tool reads them: on Linux byte for byte,
// so that a name in any encoding still names its file.
CCollisionApp::CCollisionApp(int& argc, char** argv) : QApplication(argc, argv) {
    std::transform(argv + std::min(argc, 1), argv + argc, std::back_inserter(m_modelArguments),
                   [](const char* argument) { return PathFromText(argument); });
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
