#include "model/files/remove_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <mutex>
#include <optional>
#include <utility>

#include "model/files/name_slots.h"

namespace morvane {

namespace {

constexpr std::array<int, 3> kEndingSignals{SIGINT, SIGTERM, SIGHUP};

NameSlots<PATH_MAX> slots;
std::array<struct sigaction, kEndingSignals.size()> previousActions;

void RemoveRegisteredNames(int signal) {
    slots.removeReady([](const char* name) { ::unlink(name); });
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == signal) {
            ::sigaction(signal, &previousActions[i], nullptr);
        }
    }
    ::raise(signal);
}

// A signal the process was told to ignore stays ignored.
void InstallHandlers() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction current {};
        ::sigaction(kEndingSignals[i], nullptr, &current);
        previousActions[i] = current;
        if (current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RemoveRegisteredNames;
        sigemptyset(&action.sa_mask);
        ::sigaction(kEndingSignals[i], &action, nullptr);
    }
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    slot_ = slots.take(name);
}

RemoveOnSignal::~RemoveOnSignal() {
    slots.release(slot_);
}

namespace {

sigset_t EndingSignals() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals) {
        sigaddset(&ending, signal);
    }
    return ending;
}

// On the calling thread: how many EndingSignalsHeldBack live, and the mask
// from before the first.
thread_local int heldBack = 0;
thread_local sigset_t maskBeforeHeldBack;

// The signal mask from before the names were given, while the ending
// signals wait for ResumeEndingSignals().
thread_local std::optional<sigset_t> maskBeforeNaming;

}  // namespace

EndingSignalsHeldBack::EndingSignalsHeldBack() {
    if (heldBack++ == 0) {
        const sigset_t ending = EndingSignals();
        ::pthread_sigmask(SIG_BLOCK, &ending, &maskBeforeHeldBack);
    }
}

EndingSignalsHeldBack::~EndingSignalsHeldBack() {
    if (--heldBack == 0) {
        ::pthread_sigmask(SIG_SETMASK, &maskBeforeHeldBack, nullptr);
    }
}

UninterruptedNaming::UninterruptedNaming() {
    if (!maskBeforeNaming) {
        const sigset_t ending = EndingSignals();
        sigset_t previous;
        ::pthread_sigmask(SIG_BLOCK, &ending, &previous);
        maskBeforeNaming = previous;
    }
}

UninterruptedNaming::~UninterruptedNaming() {
    if (!given_) {
        ResumeEndingSignals();
    }
}

void ResumeEndingSignals() {
    if (const std::optional<sigset_t> previous = std::exchange(maskBeforeNaming, std::nullopt)) {
        ::pthread_sigmask(SIG_SETMASK, &*previous, nullptr);
    }
}

}  // namespace morvane
