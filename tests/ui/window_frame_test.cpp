#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>

#include "about_dlg.h"
#include "platform/icons.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using WindowFrameTest = WindowTest;

// A right click anywhere on the window, here on a label, offers its menu.
TEST_F(WindowFrameTest, WindowMenuEndsWithASeparatorAndTheAboutItem) {
    QList<QAction*> offered;
    QTimer::singleShot(0, [&offered] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = menu->actions();
            menu->close();
        }
    });
    auto* label = window->findChild<QLabel*>("IDC_STATIC_VOLUMES");
    QContextMenuEvent click(QContextMenuEvent::Mouse, label->rect().center(),
                            label->mapToGlobal(label->rect().center()));
    QApplication::sendEvent(label, &click);

    ASSERT_GE(offered.size(), 2);
    EXPECT_TRUE(offered[offered.size() - 2]->isSeparator());
    EXPECT_EQ(offered.back()->text(), "&About morvane...");
    offered.back()->trigger();
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0], "About morvane");
    EXPECT_TRUE(window->isVisible());
}

// The window system keeps the low four bits of a command for itself, so every
// command from 0x10 to 0x1F is the About item and none beside them is.
TEST_F(WindowFrameTest, OnlyTheAboutCommandRangeOpensTheBox) {
    for (int command = 0; command <= 0x120; ++command) {
        const qsizetype before = modals.seen.size();
        window->OnSysCommand(command);
        const bool about = command >= IDM_ABOUTBOX && command <= IDM_ABOUTBOX + 0xF;
        EXPECT_EQ(modals.seen.size() - before, about ? 1 : 0) << command;
    }
    EXPECT_TRUE(window->isVisible());
    window->OnSysCommand(SC_CLOSE);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), IDCANCEL);
}

TEST(MinimisedIcon, IsCentredRoundingAsThePlatformDoes) {
    EXPECT_EQ(MinimisedIconPosition({40, 40}, {32, 32}), QPoint(4, 4));
    EXPECT_EQ(MinimisedIconPosition({41, 38}, {32, 32}), QPoint(5, 3));
    EXPECT_EQ(MinimisedIconPosition({16, 16}, {32, 32}), QPoint(-7, -7));
}

// Both Quit buttons share one place; the default one, first in the template,
// is the one on top.
TEST_F(WindowFrameTest, TabOrderFollowsTheTemplateAndDefaultQuitLiesOnTop) {
    QWidget* widget = Button("IDOK");
    for (const char* name :
         {"IDOK", "IDCANCEL", "IDC_CHOOSE", "IDC_VOLUMES", "IDC_FILENAME", "IDC_SAVE", "IDOK"}) {
        EXPECT_EQ(widget->objectName(), name);
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus || widget == window.get());
    }
    QPushButton* ok = Button("IDOK");
    EXPECT_EQ(ok->geometry(), Button("IDCANCEL")->geometry());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(Button("IDCANCEL")->isDefault());
    EXPECT_EQ(window->childAt(ok->geometry().center()), ok);
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
TEST_F(WindowFrameTest, NoTextIsCutOffAndTextIsReallyDrawn) {
    ExpectNoTextClipped(*window);
    CAboutDlg about(window.get());
    about.show();
    ExpectNoTextClipped(about);
    EXPECT_FALSE(about.findChild<QLabel*>("IDC_STATIC_ICON")->pixmap().isNull());

    const auto* label = window->findChild<QLabel*>("IDC_STATIC_VOLUMES");
    const QImage image = window->grab(label->geometry()).toImage();
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
}  // namespace morvane::ui::testing
