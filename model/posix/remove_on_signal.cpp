#include "model/remove_on_signal.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

#include "model/errors.h"
#include "signals_held_back.h"

namespace morvane {

namespace {

constexpr std::array<int, 3> kEndingSignals{SIGINT, SIGTERM, SIGHUP};

// A name is written into a free slot before the slot is marked ready, and
// the handler reads only ready slots, so it never sees half a name.
struct Slot {
    enum State { Free, Taken, Ready };
    std::atomic<int> state{Free};
    char name[PATH_MAX];
};

std::array<Slot, 16> slots;
std::array<struct sigaction, kEndingSignals.size()> previousActions;

void RemoveRegisteredNames(int signal) {
    for (Slot& slot : slots) {
        if (slot.state.load() == Slot::Ready) {
            ::unlink(slot.name);
        }
    }
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

int TakeSlot(const std::filesystem::path& name) {
    if (name.native().size() >= PATH_MAX) {
        throw FileError("the temporary name " + name.native() + " is too long");
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = Slot::Free;
        if (slots[i].state.compare_exchange_strong(expected, Slot::Taken)) {
            std::memcpy(slots[i].name, name.c_str(), name.native().size() + 1);
            slots[i].state.store(Slot::Ready);
            return static_cast<int>(i);
        }
    }
    throw FileError("too many rewrites at once to keep track of their temporary files");
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    slot_ = TakeSlot(name);
}

RemoveOnSignal::~RemoveOnSignal() {
    slots[static_cast<std::size_t>(slot_)].state.store(Slot::Free);
}

EndingSignalsHeldBack::EndingSignalsHeldBack() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals) {
        sigaddset(&ending, signal);
    }
    ::pthread_sigmask(SIG_BLOCK, &ending, &previous_);
}

EndingSignalsHeldBack::~EndingSignalsHeldBack() {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace morvane
