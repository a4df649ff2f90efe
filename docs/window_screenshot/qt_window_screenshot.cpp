// Writes a picture of the window, with a model chosen and a count typed, to
// the .png file named on the command line, in the language and at the scale
// the environment asks for (LANGUAGE, QT_SCALE_FACTOR): for the documents,
// not a test.
#include <QTimer>

#include "collision_dlg.h"
#include "no_desktop.h"
#include "platform/app.h"
#include "platform/qt/widgets.h"
#include "resources/resource.h"

using namespace morvane::ui;

int main(int argc, char** argv) {
    CWinApp app(argc, argv);
    if (argc < 3) {
        return 2;
    }
    NoDesktop desktop;
    UserGuide guide(desktop, {});
    CCollisionDlg window(desktop, guide, desktop);
    window.ChooseOnStart({argv[1]});
    bool saved = false;
    QTimer::singleShot(500, [&] {
        window.SetDlgItemText(IDC_VOLUMES, "3");
        saved = NativeWidget(window).grab().save(QString::fromLocal8Bit(argv[2]));
        NativeWidget(window).close();
    });
    window.DoModal();
    return saved ? 0 : 1;
}
