#include "model/files/remove_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <mutex>

#include "model/files/name_slots.h"

namespace morvane {

namespace {

// The signals that ask a program to end: from the terminal (Ctrl+C, Ctrl+\),
// from the session ending, and from other programs.
constexpr std::array<int, 4> kEndingSignals{SIGINT, SIGQUIT, SIGTERM, SIGHUP};

NameSlots<PATH_MAX> slots;
std::array<struct sigaction, kEndingSignals.size()> previousActions;

// The hold is the process's, not a thread's: a signal may be delivered to any
// thread, the window's as well as the one that names the files. While a hold
// lasts, or names were given and the program has yet to report them, the
// first ending signal waits here; whoever lifts the hold, or the handler if
// the hold was lifted meanwhile, ends the program with it.
std::atomic<int> holds{0};
std::atomic<bool> waitingForReport{false};
std::atomic<int> waitingSignal{0};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

// Removes the registered names and lets the signal end the program as it
// would have without the handler.
void EndWith(int signal) {
    slots.removeReady([](const char* name) { ::unlink(name); });
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == signal) {
            ::sigaction(signal, &previousActions[i], nullptr);
        }
    }
    ::raise(signal);
}

// Ends the program with the signal that waited, unless a hold still lasts;
// only one caller can take the signal.
void EndIfSignalWaits() {
    if (holds.load() > 0 || waitingForReport.load()) {
        return;
    }
    if (const int signal = waitingSignal.exchange(0); signal != 0) {
        EndWith(signal);
    }
}

void OnEndingSignal(int signal) {
    int none = 0;
    waitingSignal.compare_exchange_strong(none, signal);
    EndIfSignalWaits();
}

// A signal the process was told to ignore stays ignored. Interrupted system
// calls go on where a signal only waits.
void InstallHandlers() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction current {};
        ::sigaction(kEndingSignals[i], nullptr, &current);
        previousActions[i] = current;
        if (current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnEndingSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        ::sigaction(kEndingSignals[i], &action, nullptr);
    }
}

void EnsureHandlersInstalled() {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
}

void Hold() {
    EnsureHandlersInstalled();
    ++holds;
}

void Release() {
    --holds;
    EndIfSignalWaits();
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    EnsureHandlersInstalled();
    slot_ = slots.take(name);
}

RemoveOnSignal::~RemoveOnSignal() {
    slots.release(slot_);
}

EndingSignalsHeldBack::EndingSignalsHeldBack() {
    Hold();
}

EndingSignalsHeldBack::~EndingSignalsHeldBack() {
    Release();
}

UninterruptedNaming::UninterruptedNaming() {
    Hold();
}

UninterruptedNaming::~UninterruptedNaming() {
    if (given_) {
        waitingForReport = true;
    }
    Release();
}

void ResumeEndingSignals() {
    waitingForReport = false;
    EndIfSignalWaits();
}

}  // namespace morvane
