#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>

#include "about_dlg.h"
#include "platform/icons.h"
#include "resources/resource.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using AboutBoxTest = WindowTest;

TEST_F(AboutBoxTest, WindowMenuEndsWithASeparatorAndTheAboutItem) {
    const QList<QAction*> actions = window->GetSystemMenu()->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), "&About morvane...");

    actions.back()->trigger();
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].kind, "About morvane");
    EXPECT_TRUE(window->isVisible());
}

// A right click anywhere on the window, here on a label, offers the menu.
TEST_F(AboutBoxTest, RightClickOffersTheAboutItem) {
    QString offered;
    QTimer::singleShot(0, [&offered] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        QAction* last = menu->actions().back();
        offered = last->text();
        menu->close();
        last->trigger();
    });
    auto* label = window->findChild<QLabel*>("IDC_STATIC_VOLUMES");
    QContextMenuEvent click(QContextMenuEvent::Mouse, label->rect().center(),
                            label->mapToGlobal(label->rect().center()));
    QApplication::sendEvent(label, &click);

    EXPECT_EQ(offered, "&About morvane...");
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].kind, "About morvane");
}

TEST_F(AboutBoxTest, EveryCommandOfTheAboutRangeOpensTheBox) {
    for (int command = IDM_ABOUTBOX; command <= IDM_ABOUTBOX + 0xF; ++command) {
        window->OnSysCommand(command);
    }
    EXPECT_EQ(modals.seen.size(), 16u);
}

TEST_F(AboutBoxTest, CommandsBesideTheRangeTakeTheirUsualPath) {
    for (const int command : {IDM_ABOUTBOX - 1, IDM_ABOUTBOX + 0x10, 0x0110}) {
        window->OnSysCommand(command);
    }
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_TRUE(window->isVisible());

    window->OnSysCommand(SC_CLOSE);
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), IDCANCEL);
}

TEST_F(AboutBoxTest, BoxShowsNameVersionAndIcon) {
    CAboutDlg about(window.get());
    about.show();
    EXPECT_EQ(about.windowTitle(), "About morvane");
    EXPECT_EQ(about.findChild<QLabel*>("IDC_STATIC_VERSION")->text(), "morvane Version 1.0");
    EXPECT_FALSE(about.findChild<QLabel*>("IDC_STATIC_RIGHTS")->text().isEmpty());
    EXPECT_FALSE(about.findChild<QLabel*>("IDC_STATIC_ICON")->pixmap().isNull());
    EXPECT_EQ(about.findChild<QPushButton*>("IDOK")->text(), "OK");
    EXPECT_TRUE(about.findChild<QPushButton*>("IDOK")->isDefault());
}

TEST_F(AboutBoxTest, WindowIconComesInEverySizeItWasDrawnFor) {
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) {
        EXPECT_TRUE(sizes.contains(size)) << size.width();
    }
}

TEST(MinimisedIcon, IsCentredRoundingTowardZero) {
    EXPECT_EQ(MinimisedIconPosition({40, 40}, {32, 32}), QPoint(4, 4));
    EXPECT_EQ(MinimisedIconPosition({41, 38}, {32, 32}), QPoint(5, 3));
    EXPECT_EQ(MinimisedIconPosition({16, 16}, {32, 32}), QPoint(-7, -7));
}

}  // namespace
}  // namespace morvane::ui::testing
