#pragma once

#include <filesystem>

namespace morvane {

// Keeps a file name registered for removal should the program be ended from
// outside while the guard lives (SIGINT, SIGQUIT, SIGTERM or SIGHUP; Ctrl+C,
// Ctrl+Break or the console closing on Windows), so that an interrupted rewrite leaves no
// half-written file behind. The handler only removes the names prepared here
// in advance and then lets the program end as it would have.
class RemoveOnSignal {
public:
    explicit RemoveOnSignal(const std::filesystem::path& name);
    ~RemoveOnSignal();
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

private:
    int slot_;
};

// Holds back the requests to end the program while it lives, so that a file
// can be given a name and registered for removal as one step.
class EndingSignalsHeldBack {
public:
    EndingSignalsHeldBack();
    ~EndingSignalsHeldBack();
    EndingSignalsHeldBack(const EndingSignalsHeldBack&) = delete;
    EndingSignalsHeldBack& operator=(const EndingSignalsHeldBack&) = delete;
};

// Keeps the signals that end the program waiting while new models take their
// names, so that the program ends either with a model named or with the old
// file in place. Once a name has been given they go on waiting after this
// object is gone, so that the program can report what it wrote, until
// ResumeEndingSignals(); a signal that came meanwhile then ends the program
// as it would have. Without a name given, such a signal ends it at once.
class UninterruptedNaming {
public:
    UninterruptedNaming();
    ~UninterruptedNaming();
    UninterruptedNaming(const UninterruptedNaming&) = delete;
    UninterruptedNaming& operator=(const UninterruptedNaming&) = delete;

    void nameGiven() { given_ = true; }

private:
    bool given_ = false;
};

void ResumeEndingSignals();

}  // namespace morvane
