#include "platform/app.h"

#include <QApplication>
#include <array>
#include <cstdio>
#include <utility>

#include "graphical_session.h"
#include "resources/resource.h"
#include "resources/version.h"
#include "widgets.h"

namespace morvane::ui {

namespace {

// The options every Qt program takes (qt6options(7)), and whether each takes
// a value; the X11 ones among them.
constexpr std::array<std::pair<std::string_view, bool>, 21> kToolkitOptions{{
    {"style", true},           {"stylesheet", true},
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"qmljsdebugger", true},
    {"session", true},         {"display", true},
    {"geometry", true},        {"name", true},
    {"title", true},           {"visual", true},
    {"dialogs", true},         {"fontengine", true},
    {"reverse", false},        {"widgetcount", false},
    {"sync", false},
}};

}  // namespace

struct CWinApp::Native {
    Native(int& argc, char** argv) : application(argc, argv) {}

    QApplication application;
};

CWinApp::CWinApp(int& argc, char** argv) {
    {
        const DisplayFailureGuard guard;
        m_native = std::make_unique<Native>(argc, argv);
    }
    QApplication::setApplicationName("morvane");
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    QApplication::setWindowIcon(LoadQIcon(IDR_MAINFRAME));
    UseUsersLanguage();
}

CWinApp::~CWinApp() = default;

bool CanOpenWindows(int argc, const char* const* argv) {
    if (HasGraphicalSession(argc, argv)) {
        return true;
    }
    std::fputs(NoGraphicalSessionMessage().c_str(), stderr);
    return false;
}

std::optional<bool> ToolkitOption(std::string_view name) {
    for (const auto& [option, takesValue] : kToolkitOptions) {
        if (option == name) {
            return takesValue;
        }
    }
    return std::nullopt;
}

std::string_view ToolkitOptionsHelp() {
    return "Qt's common options work too, such as -style NAME, -platform NAME[:OPTIONS],\n"
           "-display DISPLAY and -reverse.\n";
}

void TellWithoutWindow(const std::string& text, TextKind kind) {
    std::fputs(text.c_str(), kind == TextKind::Problem ? stderr : stdout);
}

}  // namespace morvane::ui
