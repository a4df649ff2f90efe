#include <QAccessible>

#include "about_dlg.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using AccessibleNamesTest = WindowTest;

QString SpokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// What a screen reader announces for each control is the text a sighted user
// reads beside it or on it; the count field is labelled by its text.
TEST_F(AccessibleNamesTest, EveryControlIsAnnouncedByTheTextBesideIt) {
    const std::pair<const char*, const char*> names[] = {
        {"IDOK", "Quit"},
        {"IDCANCEL", "Quit"},
        {"IDC_CHOOSE", "Choose ZRM..."},
        {"IDC_VOLUMES", "Number of collision volumes"},
        {"IDC_FILENAME", "Chosen model"},
        {"IDC_SAVE", "Save ZRM..."},
    };
    for (const auto& [control, name] : names) {
        EXPECT_EQ(SpokenName(window->findChild<QWidget*>(control)), name) << control;
    }
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() != Qt::NoFocus) {
            EXPECT_FALSE(SpokenName(control).isEmpty()) << control->objectName().toStdString();
        }
    }

    auto* label = window->findChild<QLabel*>("IDC_STATIC_VOLUMES");
    EXPECT_EQ(label->buddy(), CountField());
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(CountField());
    const auto labelledBy = field->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.front().first->object(), label);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(ModelField())->state().readOnly);

    CAboutDlg about(window.get());
    about.show();
    EXPECT_EQ(SpokenName(about.findChild<QWidget*>("IDOK")), "OK");
}

}  // namespace
}  // namespace morvane::ui::testing
