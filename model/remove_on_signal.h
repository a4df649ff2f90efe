#pragma once

#include <signal.h>

#include <filesystem>

namespace morvane {

// Keeps a file name registered for removal should the process be ended by
// SIGINT, SIGTERM or SIGHUP while the guard lives, so that an interrupted
// rewrite leaves no half-written file behind. The handler only unlinks the
// names prepared here in advance and then lets the signal take its course.
class RemoveOnSignal {
public:
    explicit RemoveOnSignal(const std::filesystem::path& name);
    ~RemoveOnSignal();
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

private:
    int slot_;
};

}  // namespace morvane

namespace morvane {

// Holds back SIGINT, SIGTERM and SIGHUP on the calling thread while it lives,
// so that a file can be given a name and registered for removal as one step.
class EndingSignalsHeldBack {
public:
    EndingSignalsHeldBack();
    ~EndingSignalsHeldBack();
    EndingSignalsHeldBack(const EndingSignalsHeldBack&) = delete;
    EndingSignalsHeldBack& operator=(const EndingSignalsHeldBack&) = delete;

private:
    sigset_t previous_;
};

}  // namespace morvane
