// What the Qt window does that the scenarios cannot say of both renderings:
// the desktop's file dialogs, drags as Qt carries them, what a screen reader
// announces, the frame and layout. Its main() runs the scenarios on Qt too.
#include <QAccessible>
#include <cmath>

#include "about_dlg.h"
#include "platform/desktop_services.h"
#include "platform/icons.h"
#include "platform/system_file_chooser.h"
#include "platform/translation.h"
#include "qt_window_driver.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::ui::scenarios {

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtWindowDriver>();
}

// Qt keeps the settings of every program in the user's configuration folder,
// unless told another place.
void ForgetKeptSettings() {
    static std::optional<testing::TempFolder> place;
    place.emplace();
    const QString folder = QString::fromStdString(place->path().string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

namespace {

using namespace morvane::testing;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));

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
    return SystemFileChooser().Choose(request);
}

// An existing name to write is taken without asking: the window never
// overwrites in place.
TEST(FileDialog, TakesWhatEachStepNeeds) {
    const TempFolder folder;
    writeFile(folder / "in.zrm", "x");
    const QString in = ToDisplayText(folder / "in.zrm");
    const QString gone = ToDisplayText(folder / "gone" / "out");
    const ChooserRequest load{"Load", ChooserRequest::Accepts::ExistingFile};
    const ChooserRequest save{"Save", ChooserRequest::Accepts::NameInExistingFolder};
    QStringList said;
    EXPECT_EQ(TypeIntoFileDialog(load, {ToDisplayText(folder / "gone.zrm"), in}, said),
              folder / "in.zrm");
    EXPECT_EQ(said.size(), 1);  // the file was not found
    said.clear();
    EXPECT_EQ(TypeIntoFileDialog(save, {gone, ToDisplayText(folder / "out"), in}, said),
              folder / "out.zrm");
    EXPECT_EQ(TypeIntoFileDialog(save, {in}, said), folder / "in.zrm");
    EXPECT_EQ(said, QStringList{"The folder of " + gone + ".zrm does not exist."});
    EXPECT_EQ(TypeIntoFileDialog(load, {}, said), std::nullopt);
}

// The chooser opens in the folder the window asks for.
TEST(FileDialog, StartsInTheFolderItIsGiven) {
    const TempFolder folder;
    std::filesystem::create_directory(folder / "models");
    QString shown;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->directory().absolutePath();
            dialog->reject();
        }
    });
    user.start(20);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    SystemFileChooser().Choose({"Load", ChooserRequest::Accepts::ExistingFile, folder / "models"});
    EXPECT_EQ(shown, ToDisplayText(folder / "models"));
}

// Qt hands a file's address to the desktop's handler for its scheme, which a
// program may take over, as this test does.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST(Desktop, OpensTheDocumentsFileAddress) {
    const TempFolder folder;
    const auto page = folder / "user guide é.html";
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    EXPECT_TRUE(SystemDocumentOpener().Open(page));
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.front().toLocalFile(), ToDisplayText(page));
}

// In German the item is "Hilfe", and F1 opens the German page; a guide
// without one opens the English page.
TEST_F(QtWindowTest, HelpInTheWindowsLanguage) {
    const auto guide = folder / "guide";
    std::filesystem::create_directory(guide);
    Write("guide/en.html", "<html></html>");
    ASSERT_EQ(UseLanguage({"de-DE"}), "de");
    user->guideFolder = guide;
    user->Open();
    EXPECT_EQ(user->SystemMenuItems().end()[-3], "Hilfe");
    user->Press(Key::F1);
    Write("guide/de.html", "<html></html>");
    user->ChooseSystemMenuItem("Hilfe");
    const std::vector<std::filesystem::path> opened = user->opened;
    EXPECT_EQ(WindowLanguage(), "de");
    user = MakeWindowDriver();
    UseLanguage({"en"});
    EXPECT_EQ(opened, (std::vector{guide / "en.html", guide / "de.html"}));
    EXPECT_EQ(WindowLanguage(), "en");
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
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(folder / "caf\uFFFD.zrm"));
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
        {&qt.Widget(), Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {qt.Field(IDC_VOLUMES), Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
        {qt.Field(IDC_FILENAME), Qt::CopyAction | Qt::LinkAction | Qt::MoveAction, Qt::CopyAction},
    };
    for (const auto& [target, offered, taken] : drops) {
        SCOPED_TRACE(target->objectName().toStdString());
        qt.Field(IDC_FILENAME)->clear();
        EXPECT_EQ(qt.Drag(target, *Urls({LocalUrl(input)}), offered), taken);
        EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    }
    const std::tuple<const char*, QList<QUrl>, Qt::DropActions> refused[] = {
        {"a remote file", {QUrl("https://example.org/a.zrm")}, Qt::CopyAction},
        {"a local file beside a remote one",
         {LocalUrl(input), QUrl("https://example.org/a.zrm")},
         Qt::CopyAction},
        {"a file that is gone", {LocalUrl(folder / "gone.zrm")}, Qt::CopyAction},
        {"no file", {}, Qt::CopyAction},
        {"a move", {LocalUrl(input)}, Qt::MoveAction},
    };
    for (const auto& [what, urls, offered] : refused) {
        SCOPED_TRACE(what);
        qt.Field(IDC_FILENAME)->clear();
        EXPECT_EQ(qt.Drag(&qt.Widget(), *Urls(urls), offered), Qt::IgnoreAction);
        EXPECT_EQ(qt.Field(IDC_FILENAME)->text(), "");
    }
    EXPECT_TRUE(user->said.empty());
}

// The box leads with the plain words; the technical line waits behind Qt's
// own "Show Details...", as plain text too.
TEST_F(QtWindowTest, ARefusedSaveKeepsItsTechnicalLineInTheDetails) {
    const auto notAModel = Write("notes.zrm", "Hello, world");
    user->Open({notAModel});
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    const std::vector<std::pair<std::string, std::string>> boxes = {
        {"This file is not a ZRM model.\nChoose a file that holds a ZRM model.",
         "'" + DisplayText(notAModel) +
             "': not a ZRM model: it begins with 0x6C6C6548 ('lleH') where the ZRM4 container "
             "header must stand"}};
    EXPECT_EQ(QtUser().boxes, boxes);
    EXPECT_EQ(folder.listing(), "notes.zrm ");
}

TEST_F(QtWindowTest, EscapeAnswersTheSecondBlockQuestionNo) {
    user->Open({Write("in.zrm", rewriteInMemory(kModel, 3).output)});
    user->Click(IDC_SAVE);  // the box is closed: Escape
    EXPECT_EQ(user->said.size(), 1u);
    EXPECT_EQ(folder.listing(), "in.zrm ");
}

QString SpokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// A screen reader announces the text a sighted user reads beside or on each
// control, and one Quit button.
TEST_F(QtWindowTest, EveryControlIsAnnouncedByTheTextBesideIt) {
    user->Open();
    QtWindowDriver& qt = QtUser();
    QDialog& window = qt.Widget();
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&window);
    QStringList buttons;
    for (int i = 0; i < dialog->childCount(); ++i) {
        if (dialog->child(i)->role() == QAccessible::Button) {
            buttons.append(dialog->child(i)->text(QAccessible::Name));
        }
    }
    buttons.sort();
    EXPECT_EQ(buttons.join(", ").toStdString(), "Choose ZRM..., Quit, Save ZRM...");
    const std::pair<int, const char*> names[] = {
        {IDOK, "Quit"},
        {IDC_CHOOSE, "Choose ZRM..."},
        {IDC_VOLUMES, "Number of collision volumes"},
        {IDC_FILENAME, "Chosen model"},
        {IDC_SAVE, "Save ZRM..."},
    };
    for (const auto& [id, name] : names) {
        EXPECT_EQ(SpokenName(qt.Control(id)), name) << id;
    }
    auto* label = window.findChild<QLabel*>("IDC_STATIC_VOLUMES");
    const auto labelledBy = QAccessible::queryAccessibleInterface(qt.Control(IDC_VOLUMES))
                                ->relations(QAccessible::Label);
    ASSERT_EQ(labelledBy.size(), 1);
    EXPECT_EQ(labelledBy.front().first->object(), label);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(qt.Control(IDC_FILENAME))->state().readOnly);
    CAboutDlg about(&qt.Window());
    NativeWidget(about).show();
    EXPECT_EQ(SpokenName(NativeWidget(about).findChild<QWidget*>("IDOK")), "OK");
}

TEST_F(QtWindowTest, TheWindowMenusAboutItemOpensTheAboutBox) {
    user->Open();
    NativeSystemMenu(QtUser().Window()).actions().back()->trigger();
    EXPECT_EQ(user->said, std::vector<std::string>{"About morvane"});
}

// The window manager offers to minimise the window; its size stays fixed.
TEST_F(QtWindowTest, TheWindowCanBeMinimisedButNotResized) {
    user->Open();
    QDialog& window = QtUser().Widget();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

TEST_F(QtWindowTest, AboutOpensOverTheMiddleOfTheWindow) {
    user->Open();
    QDialog& window = QtUser().Widget();
    window.move(40, 30);
    CAboutDlg about(&QtUser().Window());
    NativeWidget(about).show();
    const QPoint offset =
        NativeWidget(about).frameGeometry().center() - window.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

// A second window opens below and to the right of the first, by the height
// of a caption, and the first stays in sight; once the first has closed, the
// next opens where Qt puts a window, in the middle of the screen.
TEST_F(QtWindowTest, ASecondWindowCascadesFromTheFirst) {
    user->Open();
    QDialog& first = QtUser().Widget();
    const QPoint placedByQt = first.frameGeometry().topLeft();
    first.move(100, 80);
    const int caption = first.geometry().top() - first.frameGeometry().top();
    const int step = caption > 0 ? caption : first.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    ASSERT_GT(step, 0);
    QtWindowDriver second;
    second.Open({});
    EXPECT_EQ(second.Widget().frameGeometry().topLeft(), QPoint(100 + step, 80 + step));
    second.Widget().close();
    user->Press(Key::Escape);
    QtWindowDriver third;
    third.Open({});
    EXPECT_EQ(third.Widget().frameGeometry().topLeft(), placedByQt);
}

TEST(MinimisedIcon, IsCentredRoundingAsThePlatformDoes) {
    EXPECT_EQ(MinimisedIconPosition({40, 40}, {32, 32}), (PixelPoint{4, 4}));
    EXPECT_EQ(MinimisedIconPosition({41, 38}, {32, 32}), (PixelPoint{5, 3}));
}

// The second Quit is the dialog's command alone: Tab goes from Quit to the
// next control at once.
TEST_F(QtWindowTest, TabOrderFollowsTheTemplateWithOneQuit) {
    user->Open();
    QtWindowDriver& qt = QtUser();
    QDialog& window = qt.Widget();
    EXPECT_EQ(qt.Control(IDCANCEL), nullptr);
    QWidget* widget = qt.Control(IDOK);
    for (const int id : {IDOK, IDC_CHOOSE, IDC_VOLUMES, IDC_FILENAME, IDC_SAVE, IDOK}) {
        EXPECT_EQ(widget, qt.Control(id)) << id;
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus || widget == &window);
    }
    EXPECT_EQ(window.childAt(qt.Control(IDOK)->geometry().center()), qt.Control(IDOK));
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

// The window is as large as its template says, 257 by 116 dialog units, at
// the font it is drawn in: a dialog unit is a quarter of the font's average
// letter width and an eighth of its height.
TEST_F(QtWindowTest, TheWindowIsTheTemplatesSizeAtItsFont) {
    user->Open();
    QDialog& window = QtUser().Widget();
    const QFontMetrics metrics(window.font());
    const double letter =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0;
    const int unitX = static_cast<int>(std::lround(letter));
    EXPECT_EQ(window.size(), QSize(static_cast<int>(std::lround(257 * unitX / 4.0)),
                                   static_cast<int>(std::lround(116 * metrics.height() / 8.0))));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

// The measurements alone would pass on a machine without fonts, where no
// text shows at all; the count's label must have left ink on the window.
TEST_F(QtWindowTest, NoTextIsCutOffAndTextIsReallyDrawn) {
    user->Open();
    QDialog& window = QtUser().Widget();
    ExpectNoTextClipped(window);
    CAboutDlg about(&QtUser().Window());
    QDialog& aboutWindow = NativeWidget(about);
    aboutWindow.show();
    ExpectNoTextClipped(aboutWindow);
    EXPECT_FALSE(aboutWindow.findChild<QLabel*>("IDC_STATIC_ICON")->pixmap().isNull());

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

// The windows speak a language for as long as this lives, then English again.
class SpeakingLanguage {
public:
    explicit SpeakingLanguage(const QString& language) { UseLanguage({language}); }
    ~SpeakingLanguage() { UseLanguage({"en"}); }
    SpeakingLanguage(const SpeakingLanguage&) = delete;
    SpeakingLanguage& operator=(const SpeakingLanguage&) = delete;
};

QString TextOf(const QWidget& window, const char* name) {
    const QWidget* control = window.findChild<QWidget*>(name);
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return button != nullptr ? button->text() : QString();
}

// A German user's boxes, About and Qt's own buttons speak German too, and the
// caption stays the program's name.
TEST_F(QtWindowTest, TranslatedIntoGermanTheBoxesAndAboutToo) {
    const SpeakingLanguage german("de-DE");
    user->Open();
    EXPECT_EQ(QtUser().Widget().windowTitle(), "morvane");
    CAboutDlg about(&QtUser().Window());
    QDialog& aboutWindow = NativeWidget(about);
    aboutWindow.show();
    EXPECT_EQ(aboutWindow.windowTitle(), "Über morvane");
    EXPECT_EQ(TextOf(aboutWindow, "IDC_STATIC_RIGHTS"), "(C) 2026 die Autoren von morvane");
    user->Click(IDC_SAVE);
    EXPECT_EQ(user->said,
              std::vector<std::string>{"Wählen Sie zuerst ein ZRM-Modell zum Lesen (Schritt 1)."});
    const QMessageBox question(QMessageBox::Warning, "", "", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.button(QMessageBox::No)->text(), "&Nein");
}

// Every shipped language speaks in the window and About, and fits in both.
struct Language {
    const char* locale;
    const char* quit;
    const char* choose;
    const char* count;
    const char* save;
};

class EveryLanguage : public QtWindowTest, public ::testing::WithParamInterface<Language> {};

TEST_P(EveryLanguage, TranslatedNothingIsCutOff) {
    const Language& language = GetParam();
    const SpeakingLanguage speaking(language.locale);
    user->Open();
    QDialog& window = QtUser().Widget();
    EXPECT_EQ(TextOf(window, "IDOK"), QString::fromUtf8(language.quit));
    EXPECT_EQ(TextOf(window, "IDC_CHOOSE"), QString::fromUtf8(language.choose));
    EXPECT_EQ(TextOf(window, "IDC_STATIC_VOLUMES"), QString::fromUtf8(language.count));
    EXPECT_EQ(TextOf(window, "IDC_SAVE"), QString::fromUtf8(language.save));
    ExpectNoTextClipped(window);
    CAboutDlg about(&QtUser().Window());
    QDialog& aboutWindow = NativeWidget(about);
    aboutWindow.show();
    EXPECT_NE(aboutWindow.windowTitle(), "About morvane");
    ExpectNoTextClipped(aboutWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Translated, EveryLanguage,
    ::testing::Values(Language{"de-DE", "Beenden", "ZRM wählen...",
                               "Anzahl der Kollisionsvolumen:", "ZRM speichern..."},
                      Language{"fr-FR", "Quitter", "Choisir un ZRM...",
                               "Nombre de volumes de collision :", "Enregistrer le ZRM..."},
                      Language{"es-ES", "Salir", "Elegir ZRM...",
                               "Número de volúmenes de colisión:", "Guardar ZRM..."},
                      Language{"pt-BR", "Sair", "Escolher ZRM...",
                               "Número de volumes de colisão:", "Salvar ZRM..."},
                      Language{"ru-RU", "Выход", "Выбрать ZRM...",
                               "Число объёмов столкновений:", "Сохранить ZRM..."},
                      Language{"ja-JP", "終了", "ZRM を選択...",
                               "衝突ボリュームの数:", "ZRM を保存..."},
                      Language{"zh-CN", "退出", "选择 ZRM...", "碰撞体积数量：", "保存 ZRM..."}));

// The plain words are the user's; the technical line, for whoever reports the
// problem, stays English.
TEST_F(QtWindowTest, ARefusalInGermanKeepsItsTechnicalLineInEnglish) {
    const SpeakingLanguage german("de-DE");
    const auto notAModel = Write("notes.zrm", "Hello, world");
    const auto readOnly = Write("locked.zrm", "keep");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    user->Open({notAModel});
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    user->chooserAnswers = {Write("in.zrm", kModel), readOnly};
    user->Click(IDC_CHOOSE);
    user->Click(IDC_SAVE);
    const std::vector<std::pair<std::string, std::string>> boxes = {
        {"Diese Datei ist kein ZRM-Modell.\nWählen Sie eine Datei, die ein ZRM-Modell enthält.",
         "'" + DisplayText(notAModel) +
             "': not a ZRM model: it begins with 0x6C6C6548 ('lleH') where the ZRM4 container "
             "header must stand"},
        {"„" + DisplayText(readOnly) +
             "“ ist schreibgeschützt.\nHeben Sie den Schreibschutz auf oder wählen Sie einen "
             "anderen Namen für das neue Modell.",
         "'" + DisplayText(readOnly) + "' is read-only; make it writable to replace it"}};
    EXPECT_EQ(QtUser().boxes, boxes);
    EXPECT_EQ(readFile(readOnly), "keep");
}

}  // namespace
}  // namespace morvane::ui::scenarios

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests happens at build time, where there may be no display
    // and no offscreen platform chosen; it needs no window either.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    morvane::ui::scenarios::ForgetKeptSettings();
    QApplication app(argc, argv);
    QApplication::setApplicationName("morvane");
    return RUN_ALL_TESTS();
}

#include "qt_window_test.moc"
