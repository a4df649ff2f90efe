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

// What the desktop's file dialog gives when the user types each name in turn
// and presses Enter; notes what the boxes it opens say.
std::optional<std::filesystem::path> TypeIntoFileDialog(const ChooserRequest& request,
                                                        QStringList names, QStringList& said) {
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said.append(box->text());
            box->accept();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && names.empty()) {
            dialog->reject();
        } else if (dialog != nullptr) {
            EXPECT_EQ(dialog->nameFilters(), QStringList{"ZRM Files (*.zrm)"});
            auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
            field->setText(names.takeFirst());
            // Later, as the press may open a box of the dialog's own.
            QTimer::singleShot(0, field, [field] { QTest::keyClick(field, Qt::Key_Return); });
        }
    });
    user.start(20);
    // The dialog Qt draws itself: a desktop's own one cannot be driven here.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    return QtFileChooser().Choose(request);
}

// An existing name to write is taken without asking: the window never
// overwrites in place.
TEST(FileDialog, TakesWhatEachStepNeeds) {
    const TempFolder folder;
    writeFile(folder / "in.zrm", "x");
    const QString in = ToDisplayText(folder / "in.zrm");
    QStringList said;
    EXPECT_EQ(TypeIntoFileDialog({"Load", ChooserRequest::Accepts::ExistingFile},
                                 {ToDisplayText(folder / "gone.zrm"), in}, said),
              folder / "in.zrm");
    EXPECT_EQ(said.size(), 1);  // the file was not found
    said.clear();
    const QString goneFolder = ToDisplayText(folder / "gone" / "out");
    EXPECT_EQ(TypeIntoFileDialog({"Save", ChooserRequest::Accepts::NameInExistingFolder},
                                 {goneFolder, ToDisplayText(folder / "out"), in}, said),
              folder / "out.zrm");
    EXPECT_EQ(
        TypeIntoFileDialog({"Save", ChooserRequest::Accepts::NameInExistingFolder}, {in}, said),
        folder / "in.zrm");
    EXPECT_EQ(said, QStringList{"The folder of " + goneFolder + ".zrm does not exist."});
    EXPECT_EQ(TypeIntoFileDialog({"Load", ChooserRequest::Accepts::ExistingFile}, {}, said),
              std::nullopt);
}

TEST_F(QtWindowTest, TheStatusNamesAnyPath) {
    const std::string longName = "/deep/" + std::string(3000, 'x') + ".zrm";
    user->Open();
    user->chooserAnswers = {std::filesystem::path(longName)};
    user->Click(IDC_CHOOSE);
    EXPECT_EQ(user->FieldText(IDC_FILENAME), "ZRM chosen: '" + longName + "'");
}

// So small a model is saved without the progress dialog.
TEST_F(QtWindowTest, AModelWhoseNameIsNoUtf8) {
    user->Open({Write("caf\xe9.zrm", kModel)});
    EXPECT_EQ(QtUser().Field(IDC_FILENAME)->text(), Chosen(folder / "caf\uFFFD.zrm"));
    user->TypeCount("4");
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 4).output);
    EXPECT_FALSE(user->progressShown) << "a small model makes the progress flash";
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

// The source keeps its file: the drop is a copy or a link, never a move.
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

// A screen reader announces the text a sighted user reads beside or on each control.
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
