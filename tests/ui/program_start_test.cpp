// The program as main() starts it, with a command line of its own: this file
// has its own main(), for the application object is made here, once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <unistd.h>
#include <QtTest>
#include <QtWidgets>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "collision_app.h"
#include "collision_dlg.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"
#include "ui/platform/qt/graphical_session.h"
#include "window_arguments.h"

namespace morvane::ui::testing {
namespace {

// The words as main() gets them: writable, and left to the toolkit to take
// its own options out of.
struct CommandLine {
    explicit CommandLine(std::vector<std::string> given) : words(std::move(given)) {
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
    }

    std::vector<std::string> words;
    std::vector<char*> argv;
    int argc = static_cast<int>(words.size());
};

void ForgetTheDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        qunsetenv(name);
    }
}

TEST(GraphicalSession, TheToolkitsOwnOptionsNameADisplayToo) {
    ForgetTheDisplay();
    const std::pair<std::vector<std::string>, bool> lines[] = {
        {{"morvane"}, false},
        {{"morvane", "model.zrm"}, false},
        {{"morvane", "-platform"}, false},
        {{"morvane", "model.zrm", "-platform", "offscreen"}, true},
        {{"morvane", "--platform", "offscreen"}, true},
        {{"morvane", "-display", ":1"}, true},
        {{"morvane", "-platformtheme", "gtk3"}, false},
    };
    for (const auto& [words, session] : lines) {
        CommandLine line(words);
        EXPECT_EQ(HasGraphicalSession(line.argc, line.argv.data()), session) << words.back();
    }
    qputenv("DISPLAY", ":0");
    CommandLine bare({"morvane"});
    EXPECT_TRUE(HasGraphicalSession(bare.argc, bare.argv.data()));
}

// A display that cannot be reached is no display either.
TEST(NoDisplay, WindowPointsToTheCommandLineTool) {
    ForgetTheDisplay();
    QProcessEnvironment unreachable = QProcessEnvironment::systemEnvironment();
    unreachable.insert("DISPLAY", ":4093");
    unreachable.insert("QT_QPA_PLATFORM", "xcb");
    for (const QProcessEnvironment& environment :
         {QProcessEnvironment::systemEnvironment(), unreachable}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(MORVANE_EXECUTABLE, QStringList{});
        process.waitForFinished(-1);
        const std::string errors = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << errors;
        EXPECT_NE(process.exitCode(), 0) << errors;
        EXPECT_NE(errors.find("graphical session"), std::string::npos) << errors;
        // The tool it points to is there to be run.
        const std::size_t open = errors.find("use morvane-cli (");
        ASSERT_NE(open, std::string::npos) << errors;
        const std::size_t start = open + std::strlen("use morvane-cli (");
        const std::string tool = errors.substr(start, errors.find(')', start) - start);
        EXPECT_EQ(::access(tool.c_str(), X_OK), 0) << tool;
        EXPECT_EQ(std::filesystem::path(tool).filename(), "morvane-cli");
    }
}

// Each of the toolkit's options in every spelling, with its value, is the
// toolkit's, wherever it stands; "--" ends the options.
TEST(WindowArguments, TheToolkitsOptionsAreItsOwnAndTheRestAreModels) {
    using Kind = WindowRequest::Kind;
    using Paths = std::vector<std::filesystem::path>;
    const std::tuple<std::vector<std::string>, Kind, Paths, std::string> lines[] = {
        {{"a.zrm", "-style", "windows", "--platform=offscreen", "-reverse", "b.zrm"},
         Kind::OpenWindow,
         {"a.zrm", "b.zrm"},
         ""},
        {{"-style", "windows", "--help", "a.zrm"}, Kind::Help, {}, ""},
        {{"-h"}, Kind::Help, {}, ""},
        {{"a.zrm", "--version"}, Kind::Version, {}, ""},
        {{"--", "-odd.zrm", "--help", "-"}, Kind::OpenWindow, {"-odd.zrm", "--help", "-"}, ""},
        {{"a.zrm", "--bogus"}, Kind::UsageError, {}, "unknown option '--bogus'"},
        {{"a.zrm", "-style"}, Kind::UsageError, {}, "the option '-style' needs a value"},
    };
    for (const auto& [words, kind, models, problem] : lines) {
        const WindowRequest request = ReadWindowArguments(words);
        EXPECT_EQ(request.kind, kind) << words.back();
        EXPECT_EQ(request.models, models) << words.back();
        EXPECT_EQ(request.problem, problem) << words.back();
    }
}

// Answered as from a terminal, where there is no display.
TEST(WindowArguments, HelpVersionAndAWrongOptionOpenNoWindow) {
    ForgetTheDisplay();
    const std::tuple<QString, int, std::string, std::string> answers[] = {
        {"--help", 0, "Usage: morvane [OPTION]... [--] [MODEL]\n", ""},
        {"--version", 0, "morvane " MORVANE_VERSION "\n", ""},
        {"--bogus", 2, "", "morvane: unknown option '--bogus'\nRun 'morvane --help' for usage.\n"},
    };
    for (const auto& [word, status, out, err] : answers) {
        QProcess process;
        process.start(MORVANE_EXECUTABLE, QStringList{word});
        process.waitForFinished(-1);
        EXPECT_EQ(process.exitCode(), status) << word.toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().toStdString().starts_with(out))
            << word.toStdString();
        EXPECT_EQ(process.readAllStandardError().toStdString(), err) << word.toStdString();
    }
}

// The toolkit's options take effect wherever they stand (without the platform
// no window could open); what remains are the models, a name that begins
// with "-" among them.
TEST(ProgramStart, TheToolkitTakesItsOptionsAndTheWindowTheModels) {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const std::string model = "-odd.zrm";
    const std::string other = folder.filePath("other.zrm").toStdString();
    std::ofstream(model, std::ios::binary) << std::string("4MRZ\0\0\0\0\0\0\0\0", 12);
    ForgetTheDisplay();
    CommandLine line(
        {"morvane", "-style", "windows", "-platform", "offscreen", "--", model, other});
    ASSERT_TRUE(HasGraphicalSession(line.argc, line.argv.data()));
    const WindowRequest request = ReadWindowArguments({line.words.begin() + 1, line.words.end()});
    ASSERT_EQ(request.kind, WindowRequest::Kind::OpenWindow);
    CCollisionApp app(line.argc, line.argv.data(), request.models);
    EXPECT_EQ(QApplication::style()->name(), "windows");

    // The user reads the message box, then looks at the window and closes it;
    // a window that never says anything is closed after a while.
    QStringList said;
    QString chosen;
    QTimer user;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* status = modal != nullptr ? modal->findChild<QLineEdit*>("IDC_FILENAME") : nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said.append(box->text());
            box->close();
        } else if (status != nullptr && (!said.empty() || waited.hasExpired(3000))) {
            chosen = status->text();
            modal->close();
        }
    });
    user.start(5);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(chosen,
              QString::fromStdString(ChosenModelText(std::filesystem::current_path() / model)));
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said.front().endsWith(QStringLiteral("\n'%1'").arg(QString::fromStdString(other))))
        << said.front().toStdString();
}

// The program's standard output, sent into a file while it lives.
class StandardOutputInto {
public:
    explicit StandardOutputInto(const std::filesystem::path& file) {
        std::fflush(stdout);
        const int into = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(into, STDOUT_FILENO);
        ::close(into);
    }
    ~StandardOutputInto() {
        std::fflush(stdout);
        ::dup2(m_saved, STDOUT_FILENO);
        ::close(m_saved);
    }
    StandardOutputInto(const StandardOutputInto&) = delete;
    StandardOutputInto& operator=(const StandardOutputInto&) = delete;

private:
    int m_saved = ::dup(STDOUT_FILENO);
};

// As `morvane model.zrm > trace.txt` starts it: the trace of a save is in the
// file once the save is over, while the window is still open. The user types
// the count, presses "Save ZRM..." and names the output in the chooser.
TEST(ProgramStart, ARedirectedTraceIsWholeOnceTheSaveIsOver) {
    using namespace morvane::testing;
    const TempFolder folder;
    const std::string model = containerHeader() + chunk(kPrim, 0, 40, payload(40));
    writeFile(folder / "ship.zrm", model);
    const auto output = folder / "ship-collide.zrm";
    CommandLine line({"morvane", "-platform", "offscreen", (folder / "ship.zrm").string()});
    const WindowRequest request = ReadWindowArguments({line.words.begin() + 1, line.words.end()});
    CCollisionApp app(line.argc, line.argv.data(), request.models);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    std::optional<std::string> traceWhileOpen;
    QTimer user;
    int step = 0;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* status = modal != nullptr ? modal->findChild<QLineEdit*>("IDC_FILENAME") : nullptr;
        if (step == 0 && status != nullptr) {
            step = 1;
            modal->findChild<QLineEdit*>("IDC_VOLUMES")->setText("3");
            auto* save = modal->findChild<QPushButton*>("IDC_SAVE");
            QTimer::singleShot(0, save, [save] { QTest::mouseClick(save, Qt::LeftButton); });
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal); step == 1 && chooser) {
            step = 2;
            auto* name = chooser->findChild<QLineEdit*>("fileNameEdit");
            name->setText(QString::fromStdString(output.string()));
            QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
        } else if (step == 2 && status != nullptr && std::filesystem::exists(output)) {
            traceWhileOpen = readFile(folder / "trace.txt");
            modal->close();
        }
    });
    user.start(20);
    {
        const StandardOutputInto trace(folder / "trace.txt");
        app.InitInstance();
    }
    ASSERT_TRUE(traceWhileOpen.has_value()) << "the save did not end";
    EXPECT_EQ(*traceWhileOpen, rewriteInMemory(model, 3).trace);
    EXPECT_EQ(readFile(output), rewriteInMemory(model, 3).output);
}

// The program finds its guide where it was installed with it; where it is
// not, F1 says where it looked.
TEST(ProgramStart, HelpLooksForTheGuideWhereTheProgramIsInstalled) {
    CommandLine line({"morvane", "-platform", "offscreen"});
    CCollisionApp app(line.argc, line.argv.data(), {});
    const std::filesystem::path programs(QCoreApplication::applicationDirPath().toStdString());
    QStringList said;
    QTimer user;
    bool pressed = false;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said.append(box->text());
            box->close();
        } else if (modal != nullptr && !pressed) {
            pressed = true;
            QTimer::singleShot(0, modal, [modal] { QTest::keyClick(modal, Qt::Key_F1); });
        } else if (modal != nullptr && !said.empty()) {
            modal->close();
        }
    });
    user.start(20);
    app.InitInstance();
    EXPECT_EQ(said, QStringList{QString::fromStdString(
                        "The user guide is missing from '" +
                        (programs.parent_path() / "share" / "morvane" / "guide").string() +
                        "'. Install morvane again to put it back.")});
}

}  // namespace
}  // namespace morvane::ui::testing

// What the program keeps for the user goes to a folder of the tests' own.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return RUN_ALL_TESTS();
}
