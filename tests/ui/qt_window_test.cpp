// What the Qt window does that the scenarios cannot say of both renderings:
// the desktop's file dialogs, names that are no UTF-8, drags as Qt carries
// them, and what a screen reader announces.
#include <QAccessible>

#include "about_dlg.h"
#include "qt_window_driver.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::ui::scenarios {
namespace {

using namespace morvane::testing;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));

QString Chosen(const std::filesystem::path& input) {
    return QString::fromStdString(ChosenModelText(input));
}

// The model to read must exist; the name to write may be new and is taken
// without asking, as the window never overwrites in place. The status names
// the whole path, however long.
TEST_F(QtWindowTest, FileDialogsFitTheirStepAndTheStatusNamesAnyPath) {
    for (const auto& [accepts, mode] :
         {std::pair{ChooserRequest::Accepts::ExistingFile, QFileDialog::ExistingFile},
          std::pair{ChooserRequest::Accepts::NameInExistingFolder, QFileDialog::AnyFile}}) {
        QFileDialog dialog;
        ConfigureFileDialog(dialog, {"a title", accepts});
        EXPECT_EQ(dialog.windowTitle(), "a title");
        EXPECT_EQ(dialog.fileMode(), mode);
        EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite),
                  mode == QFileDialog::AnyFile);
        EXPECT_EQ(dialog.nameFilters(), QStringList{"ZRM Files (*.zrm)"});
        EXPECT_EQ(dialog.defaultSuffix(), "zrm");
    }
    const std::string longName = "/deep/" + std::string(3000, 'x') + ".zrm";
    user->Open();
    user->chooserAnswers = {std::filesystem::path(longName)};
    user->Click(IDC_CHOOSE);
    EXPECT_EQ(user->FieldText(IDC_FILENAME), "ZRM chosen: '" + longName + "'");
}

// A name that is no UTF-8 is shown as best it can be and still read.
TEST_F(QtWindowTest, AModelWhoseNameIsNoUtf8) {
    user->Open({Write("caf\xe9.zrm", kModel)});
    EXPECT_EQ(QtUser().Field(IDC_FILENAME)->text(), Chosen(folder / "caf\uFFFD.zrm"));
    user->TypeCount("4");
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 4).output);
}

QUrl LocalUrl(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(ToDisplayText(path));
}

// File managers offer the addresses as text too, which text fields take.
std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(QUrl::toStringList(urls).join('\n'));
    return data;
}

// Dropped anywhere, the fields included, one local file is chosen; anything
// else is turned away and changes nothing. The source keeps its file: the
// drop is a copy or a link, never a move.
TEST_F(QtWindowTest, OnlyOneLocalFileIsTakenWhereverItIsDropped) {
    const auto input = Write("in.zrm", kModel);
    user->Open();
    QtWindowDriver& qt = QtUser();
    const std::tuple<QWidget*, Qt::DropActions, Qt::DropAction> drops[] = {
        {&qt.Window(), Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {qt.Field(IDC_VOLUMES), Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
        {qt.Field(IDC_FILENAME), Qt::CopyAction | Qt::LinkAction | Qt::MoveAction, Qt::CopyAction},
    };
    for (const auto& [target, offered, taken] : drops) {
        SCOPED_TRACE(target->objectName().toStdString());
        qt.Field(IDC_FILENAME)->clear();
        EXPECT_EQ(qt.Drag(target, *Urls({LocalUrl(input)}), offered), taken);
        EXPECT_EQ(qt.Field(IDC_FILENAME)->text(), Chosen(input));
    }
    const std::tuple<const char*, QList<QUrl>, Qt::DropActions> refused[] = {
        {"a remote file", {QUrl("https://example.org/a.zrm")}, Qt::CopyAction},
        {"a file that is gone", {LocalUrl(folder / "gone.zrm")}, Qt::CopyAction},
        {"no file", {}, Qt::CopyAction},
        {"a move", {LocalUrl(input)}, Qt::MoveAction},
    };
    for (const auto& [what, urls, offered] : refused) {
        SCOPED_TRACE(what);
        qt.Field(IDC_FILENAME)->clear();
        EXPECT_EQ(qt.Drag(&qt.Window(), *Urls(urls), offered), Qt::IgnoreAction);
        EXPECT_EQ(qt.Field(IDC_FILENAME)->text(), "");
    }
    EXPECT_TRUE(user->requests.empty());
    EXPECT_TRUE(user->said.empty());
}

// The question before a second block is saved takes No for an answer when
// the user just presses Escape, as its default button does.
TEST_F(QtWindowTest, EscapeAnswersTheSecondBlockQuestionNo) {
    user->Open({Write("in.zrm", rewriteInMemory(kModel, 3).output)});
    user->Click(IDC_SAVE);  // the box is closed: Escape
    EXPECT_EQ(user->said.size(), 1u);
    EXPECT_TRUE(user->requests.empty());
    EXPECT_EQ(folder.listing(), "in.zrm ");
}

QString SpokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// What a screen reader announces for each control is the text a sighted user
// reads beside it or on it; the count field is labelled by its text.
TEST_F(QtWindowTest, EveryControlIsAnnouncedByTheTextBesideIt) {
    user->Open();
    CCollisionDlg& window = QtUser().Window();
    const std::pair<int, const char*> names[] = {
        {IDOK, "Quit"},
        {IDCANCEL, "Quit"},
        {IDC_CHOOSE, "Choose ZRM..."},
        {IDC_VOLUMES, "Number of collision volumes"},
        {IDC_FILENAME, "Chosen model"},
        {IDC_SAVE, "Save ZRM..."},
    };
    for (const auto& [id, name] : names) {
        EXPECT_EQ(SpokenName(window.GetDlgItem(id)), name) << id;
    }
    auto* label = window.findChild<QLabel*>("IDC_STATIC_VOLUMES");
    EXPECT_EQ(label->buddy(), window.GetDlgItem(IDC_VOLUMES));
    const auto labelledBy = QAccessible::queryAccessibleInterface(window.GetDlgItem(IDC_VOLUMES))
                                ->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.front().first->object(), label);
    EXPECT_TRUE(
        QAccessible::queryAccessibleInterface(window.GetDlgItem(IDC_FILENAME))->state().readOnly);
    CAboutDlg about(&window);
    about.show();
    EXPECT_EQ(SpokenName(about.findChild<QWidget*>("IDOK")), "OK");
}

}  // namespace
}  // namespace morvane::ui::scenarios
