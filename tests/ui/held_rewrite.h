#pragma once

#include <QSemaphore>
#include <atomic>
#include <functional>

#include "background_rewrite.h"

namespace morvane::ui::testing {

// Processes the user-interface thread's events until done() holds; false when
// it still does not after a long while, so that a broken window fails the
// test instead of hanging it.
bool WaitUntil(const std::function<bool()>& done);

// The real model rewrite, except that each report of its reading waits for
// the test to let it go on. The test decides where the worker stands while it
// looks at the window, however fast or slow the machine is.
class HeldRewrite {
public:
    ~HeldRewrite();

    ModelRewriter Rewriter();

    // Runs steps on the user-interface thread once the rewrite waits at its
    // first report; every report is let go after them.
    void WhenFirstHeld(std::function<void()> steps);

    // Lets the rewrite past the report it waits at, then waits until it is
    // held at the next one or has ended. False when it has ended.
    bool Step();

    // From now on no report waits.
    void LetGo();

    int Reports() const { return m_reports.load(); }
    bool Ended() const { return m_ended.load(); }
    bool ReportedOnUserInterfaceThread() const { return m_onUserInterfaceThread.load(); }

private:
    void Hold();

    std::function<void()> m_firstHeldSteps;
    QSemaphore m_permits;
    std::atomic<int> m_reports{0};
    std::atomic<bool> m_free{false};
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_onUserInterfaceThread{false};
};

}  // namespace morvane::ui::testing
