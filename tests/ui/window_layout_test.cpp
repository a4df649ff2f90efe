#include <QFileDialog>
#include <QImage>
#include <QLabel>

#include "about_dlg.h"
#include "platform/dialog_units.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using WindowLayoutTest = WindowTest;

TEST(DialogUnits, ConvertCornersWithTheFontsBaseUnits) {
    const DialogBaseUnits units{6, 13};
    EXPECT_EQ(ToPixels({195, 90, 50, 14}, units), QRect(293, 146, 75, 23));
    EXPECT_EQ(ToPixels({0, 0, 4, 8}, units), QRect(0, 0, 6, 13));
    EXPECT_EQ(ToPixels(257, 116, units), QSize(386, 189));
}

TEST(DialogUnits, HorizontalBaseIsTheRoundedAverageLetterWidth) {
    const QFontMetrics metrics(QFont("DejaVu Sans", 8));
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const DialogBaseUnits units = BaseUnitsOf(metrics);
    EXPECT_LE(std::abs(units.x * 52 - letters), 26);
    EXPECT_EQ(units.y, metrics.height());
}

TEST_F(WindowLayoutTest, TabOrderFollowsTheTemplate) {
    const std::vector<QString> expected{"IDOK",        "IDCANCEL",     "IDC_CHOOSE",
                                        "IDC_VOLUMES", "IDC_FILENAME", "IDC_SAVE"};
    QWidget* widget = Button("IDOK");
    for (const QString& name : expected) {
        EXPECT_EQ(widget->objectName(), name);
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget == window.get()) {
            widget = widget->nextInFocusChain();
        }
    }
    EXPECT_EQ(widget->objectName(), "IDOK");
}

TEST_F(WindowLayoutTest, DefaultQuitLiesOnTopOfTheOtherQuit) {
    QPushButton* ok = Button("IDOK");
    QPushButton* cancel = Button("IDCANCEL");
    EXPECT_EQ(ok->geometry(), cancel->geometry());
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_EQ(window->childAt(ok->geometry().center()), ok);
}

TEST_F(WindowLayoutTest, FixedSizeWindowWithItsOwnTaskBarEntry) {
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->windowTitle(), "morvane");
}

void ExpectNoTextClipped(const QWidget& dialog) {
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
            << label->text().toStdString();
        EXPECT_LE(metrics.height(), label->contentsRect().height()) << label->text().toStdString();
        EXPECT_TRUE(dialog.rect().contains(label->geometry())) << label->text().toStdString();
    }
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        EXPECT_LT(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
            << button->text().toStdString();
    }
}

TEST_F(WindowLayoutTest, NoTextIsCutOff) {
    ExpectNoTextClipped(*window);
    CAboutDlg about(window.get());
    about.show();
    ExpectNoTextClipped(about);
}

TEST_F(WindowLayoutTest, CountLabelEndsBeforeTheCountField) {
    const auto* label = window->findChild<QLabel*>("IDC_STATIC_VOLUMES");
    EXPECT_LE(label->geometry().right(), CountField()->geometry().left());
}

// Guards against a machine without fonts, where every label would pass the
// measurements above and still show nothing.
TEST_F(WindowLayoutTest, LabelTextIsActuallyDrawn) {
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

TEST(FileDialogSettings, ModelToReadMustExist) {
    QFileDialog dialog;
    ConfigureFileDialog(dialog, {"Choose ZRM file to load", ChooserRequest::Accepts::ExistingFile});
    EXPECT_EQ(dialog.windowTitle(), "Choose ZRM file to load");
    EXPECT_EQ(dialog.nameFilters(), QStringList{"ZRM Files (*.zrm)"});
    EXPECT_EQ(dialog.defaultSuffix(), "zrm");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
}

TEST(FileDialogSettings, NameToWriteMayBeTakenWithoutAsking) {
    QFileDialog dialog;
    ConfigureFileDialog(
        dialog, {"Choose ZRM name to save as", ChooserRequest::Accepts::NameInExistingFolder});
    EXPECT_EQ(dialog.nameFilters(), QStringList{"ZRM Files (*.zrm)"});
    EXPECT_EQ(dialog.defaultSuffix(), "zrm");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

}  // namespace
}  // namespace morvane::ui::testing
