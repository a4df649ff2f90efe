#include "graphical_session.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    std::fprintf(stderr, "%s\n%s", qPrintable(text), kNoGraphicalSessionMessage);
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

}  // namespace

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
