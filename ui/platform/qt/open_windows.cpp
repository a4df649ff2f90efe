#include "open_windows.h"

#include <signal.h>
#include <unistd.h>

#include <QDateTime>
#include <QSettings>
#include <cerrno>
#include <tuple>

namespace morvane::ui {
namespace {

const QString kGroup = QStringLiteral("OpenWindows");

// Several windows of one program are told apart by a number of its own.
int NextWindowNumber() {
    static int number = 0;
    return ++number;
}

// A program that has ended cannot have a window open; one of another user
// still runs.
bool ProgramRuns(qint64 id) {
    return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
}

}  // namespace

OpenWindowRecord::OpenWindowRecord()
    : m_key(QStringLiteral("%1-%2").arg(::getpid()).arg(NextWindowNumber())) {}

OpenWindowRecord::~OpenWindowRecord() {
    QSettings settings("morvane", "morvane");
    settings.remove(kGroup + "/" + m_key);
}

std::optional<OpenWindow> OpenWindowRecord::LastOtherOpened() const {
    QSettings settings("morvane", "morvane");
    settings.beginGroup(kGroup);
    std::optional<OpenWindow> last;
    std::tuple<qint64, qint64> lastOpened{-1, -1};
    for (const QString& key : settings.childGroups()) {
        settings.beginGroup(key);
        const std::tuple<qint64, qint64> opened{settings.value("opened").toLongLong(),
                                                settings.value("number").toLongLong()};
        if (key != m_key && ProgramRuns(settings.value("program").toLongLong()) &&
            opened > lastOpened) {
            lastOpened = opened;
            last =
                OpenWindow{settings.value("position").toPoint(), settings.value("caption").toInt()};
        }
        settings.endGroup();
    }
    return last;
}

void OpenWindowRecord::Keep(const OpenWindow& window) {
    QSettings settings("morvane", "morvane");
    settings.beginGroup(kGroup + "/" + m_key);
    if (m_opened == 0) {
        m_opened = QDateTime::currentMSecsSinceEpoch();
        settings.setValue("program", static_cast<qint64>(::getpid()));
        settings.setValue("opened", m_opened);
        settings.setValue("number", m_key.section('-', 1).toLongLong());
    }
    settings.setValue("position", window.position);
    settings.setValue("caption", window.caption);
}

}  // namespace morvane::ui
