// The Qt window's frame and layout, and the program without a display.
#include "about_dlg.h"
#include "platform/icons.h"
#include "qt_window_driver.h"

namespace morvane::ui::scenarios {
namespace {

TEST_F(QtWindowTest, TheWindowMenusAboutItemOpensTheAboutBox) {
    user->Open();
    QtUser().Window().GetSystemMenu()->actions().back()->trigger();
    EXPECT_EQ(user->said, std::vector<std::string>{"About morvane"});
}

// Without a display, or with one that cannot be reached, the window ends with
// a plain message that points to the command-line tool instead of crashing.
TEST(NoDisplay, WindowPointsToTheCommandLineTool) {
    QProcessEnvironment none = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        none.remove(name);
    }
    QProcessEnvironment unreachable = none;
    unreachable.insert("DISPLAY", ":4093");
    unreachable.insert("QT_QPA_PLATFORM", "xcb");
    for (const QProcessEnvironment& environment : {none, unreachable}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(MORVANE_EXECUTABLE, QStringList{});
        process.waitForFinished(-1);
        const std::string errors = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << errors;
        EXPECT_NE(process.exitCode(), 0) << errors;
        EXPECT_NE(errors.find("graphical session"), std::string::npos) << errors;
        EXPECT_NE(errors.find("morvane-cli"), std::string::npos) << errors;
    }
}

TEST(MinimisedIcon, IsCentredRoundingAsThePlatformDoes) {
    EXPECT_EQ(MinimisedIconPosition({40, 40}, {32, 32}), (PixelPoint{4, 4}));
    EXPECT_EQ(MinimisedIconPosition({41, 38}, {32, 32}), (PixelPoint{5, 3}));
}

// Both Quit buttons share one place; the default one, first in the template,
// is the one on top.
TEST_F(QtWindowTest, TabOrderFollowsTheTemplateAndDefaultQuitLiesOnTop) {
    user->Open();
    CCollisionDlg& window = QtUser().Window();
    QWidget* widget = window.GetDlgItem(IDOK);
    for (const int id : {IDOK, IDCANCEL, IDC_CHOOSE, IDC_VOLUMES, IDC_FILENAME, IDC_SAVE, IDOK}) {
        EXPECT_EQ(widget, window.GetDlgItem(id)) << id;
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus || widget == &window);
    }
    const QRect quit = window.GetDlgItem(IDOK)->geometry();
    EXPECT_EQ(quit, window.GetDlgItem(IDCANCEL)->geometry());
    EXPECT_EQ(window.childAt(quit.center()), window.GetDlgItem(IDOK));
}

void ExpectNoTextClipped(const QWidget& dialog) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        const std::string text = label->text().toStdString();
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width()) << text;
        EXPECT_LE(metrics.height(), label->contentsRect().height()) << text;
        EXPECT_TRUE(dialog.rect().contains(label->geometry())) << text;
        for (const QWidget* other : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(other == label || !other->isVisible() ||
                        !label->geometry().intersects(other->geometry()))
                << text << " overlaps " << other->objectName().toStdString();
        }
    }
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_LT(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
            << button->text().toStdString();
    }
}

// The measurements alone would pass on a machine without fonts, where no
// text shows at all; the count's label must have left ink on the window.
TEST_F(QtWindowTest, NoTextIsCutOffAndTextIsReallyDrawn) {
    user->Open();
    CCollisionDlg& window = QtUser().Window();
    ExpectNoTextClipped(window);
    CAboutDlg about(&window);
    about.show();
    ExpectNoTextClipped(about);
    EXPECT_FALSE(about.findChild<QLabel*>("IDC_STATIC_ICON")->pixmap().isNull());

    const QImage image =
        window.grab(window.findChild<QLabel*>("IDC_STATIC_VOLUMES")->geometry()).toImage();
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            inked += qGray(image.pixel(x, y)) + 60 < qGray(background) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 50);
}

}  // namespace
}  // namespace morvane::ui::scenarios
