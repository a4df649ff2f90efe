#include "held_rewrite.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace morvane::ui::testing {
namespace {

constexpr int kGiveUpMilliseconds = 20000;
constexpr int kAllReports = 1 << 24;

bool OnUserInterfaceThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(kGiveUpMilliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

HeldRewrite::~HeldRewrite() {
    LetGo();
}

ModelRewriter HeldRewrite::Rewriter() {
    return [this](const std::filesystem::path& input, const std::filesystem::path& output,
                  int volumes, std::ostream& trace, const RewriteProgress& progress) {
        struct MarkEnded {
            std::atomic<bool>& ended;
            ~MarkEnded() { ended.store(true); }
        } markEnded{m_ended};
        return RewriteModelFile(input, output, volumes, trace,
                                [this, &progress](std::int64_t bytesRead, std::int64_t inputBytes) {
                                    Hold();
                                    return progress(bytesRead, inputBytes);
                                });
    };
}

void HeldRewrite::WhenFirstHeld(std::function<void()> steps) {
    m_firstHeldSteps = std::move(steps);
}

void HeldRewrite::Hold() {
    if (OnUserInterfaceThread()) {
        m_onUserInterfaceThread.store(true);
        return;
    }
    if (++m_reports == 1 && m_firstHeldSteps) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [this] {
            m_firstHeldSteps();
            LetGo();
        });
    }
    if (!m_free.load()) {
        m_permits.tryAcquire(1, kGiveUpMilliseconds);
    }
}

bool HeldRewrite::Step() {
    const int before = m_reports.load();
    m_permits.release(1);
    return WaitUntil([&] { return m_reports.load() > before || m_ended.load(); }) &&
           !m_ended.load();
}

void HeldRewrite::LetGo() {
    if (!m_free.exchange(true)) {
        m_permits.release(kAllReports);
    }
}

}  // namespace morvane::ui::testing
