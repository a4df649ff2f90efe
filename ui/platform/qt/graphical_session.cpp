#include "graphical_session.h"

#include "platform/desktop_services.h"

#include <unistd.h>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace morvane::ui {
namespace {

bool IsSet(const char* name) {
    return !qEnvironmentVariableIsEmpty(name);
}

QtMessageHandler g_previousHandler = nullptr;

void EndOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        g_previousHandler(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n%s", qPrintable(text), NoGraphicalSessionMessage().c_str());
    std::_Exit(EXIT_FAILURE);
}

// The toolkit takes its options with one dash or two, each followed by its value.
bool NamesDisplayOption(int argc, const char* const* argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const char* option = argv[i];
        if (std::strncmp(option, "--", 2) == 0) {
            ++option;
        }
        if (std::strcmp(option, "-platform") == 0 || std::strcmp(option, "-display") == 0) {
            return true;
        }
    }
    return false;
}

// The command-line tool installed beside the window, or built beside it.
std::string CommandLineToolPath() {
    const std::filesystem::path programs = ProgramFolder();
    if (programs.empty()) {
        return {};
    }
    for (const std::filesystem::path& tool :
         {programs / "morvane-cli", programs.parent_path() / "cli" / "morvane-cli"}) {
        if (::access(tool.c_str(), X_OK) == 0) {
            return tool.lexically_normal().string();
        }
    }
    return {};
}

}  // namespace

std::string NoGraphicalSessionMessage() {
    const std::string tool = CommandLineToolPath();
    return "morvane: the window needs a graphical session (a desktop), and none could be reached.\n"
           "To add collision volumes from a terminal, use morvane-cli" +
           (tool.empty() ? std::string() : " (" + tool + ")") + ".\n";
}

bool HasGraphicalSession(int argc, const char* const* argv) {
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") ||
           NamesDisplayOption(argc, argv);
}

DisplayFailureGuard::DisplayFailureGuard() {
    g_previousHandler = qInstallMessageHandler(EndOnFatalMessage);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(g_previousHandler);
}

}  // namespace morvane::ui
