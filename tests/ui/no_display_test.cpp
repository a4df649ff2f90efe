#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <utility>

namespace {

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
    const std::pair<const char*, QProcessEnvironment> starts[] = {{"no display", none},
                                                                  {"unreachable", unreachable}};
    for (const auto& [what, environment] : starts) {
        SCOPED_TRACE(what);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(MORVANE_EXECUTABLE, QStringList{});
        process.waitForFinished(-1);
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_NE(process.exitCode(), 0);
        EXPECT_TRUE(errors.contains("graphical session")) << errors.toStdString();
        EXPECT_TRUE(errors.contains("morvane-cli")) << errors.toStdString();
    }
}

}  // namespace
