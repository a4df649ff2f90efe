#include <array>
#include <cstdio>
#include <utility>

#include "native_app.h"
#include "native_icon.h"
#include "resources/resource.h"

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

CWinApp::CWinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("morvane");
    setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    setWindowIcon(LoadQIcon(IDR_MAINFRAME));
}

std::vector<std::string> CommandLineWords(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
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

void TellWithoutWindow(const std::string& text, bool problem) {
    std::fputs(text.c_str(), problem ? stderr : stdout);
}

}  // namespace morvane::ui
