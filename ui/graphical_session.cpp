#include "graphical_session.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

bool HasGraphicalSession() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
#endif
}

DisplayFailureGuard::DisplayFailureGuard() {
    g_previousHandler = qInstallMessageHandler(EndOnFatalMessage);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(g_previousHandler);
}

}  // namespace morvane::ui
