#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct Run {
    QProcess::ExitStatus status;
    int exitCode;
    QString errors;
};

Run StartWindow(const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(MORVANE_EXECUTABLE, QStringList{});
    process.waitForFinished(-1);
    return {process.exitStatus(), process.exitCode(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

void ExpectPlainRefusal(const Run& run) {
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("graphical session")) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains("morvane-cli")) << run.errors.toStdString();
}

TEST(NoDisplay, WindowPointsToTheCommandLineTool) {
    ExpectPlainRefusal(StartWindow(WithoutDisplay()));
}

TEST(NoDisplay, UnreachableDisplayEndsWithoutACrash) {
    QProcessEnvironment environment = WithoutDisplay();
    environment.insert("DISPLAY", ":4093");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    ExpectPlainRefusal(StartWindow(environment));
}

}  // namespace
