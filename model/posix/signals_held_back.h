#pragma once

#include <signal.h>

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
