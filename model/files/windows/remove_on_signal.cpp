#include "model/files/remove_on_signal.h"

#include <windows.h>

#include <mutex>
#include <utility>

#include "model/files/name_slots.h"
#include "model/files/path_text.h"

namespace morvane {

namespace {

// The longest path Windows takes, with its terminating zero.
constexpr std::size_t kLongestPath = 32768;

NameSlots<kLongestPath> slots;

// Held while models take their names, or a name is given and registered: the
// console's request to end waits.
std::recursive_mutex naming;
// Guarded by naming: whether names were given and the end waits for
// ResumeEndingSignals(), and whether the console asked for it meanwhile.
bool endWaits = false;
bool endAsked = false;

void RemoveReadyNames() {
    slots.removeReady([](const wchar_t* name) { ::DeleteFileW(name); });
}

// Runs on a thread of its own when the console asks the program to end; the
// program then ends as it would have without it.
BOOL WINAPI RemoveRegisteredNames(DWORD) {
    const std::lock_guard lock(naming);
    if (endWaits) {
        endAsked = true;
        return TRUE;
    }
    RemoveReadyNames();
    return FALSE;
}

void InstallHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] { ::SetConsoleCtrlHandler(RemoveRegisteredNames, TRUE); });
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    InstallHandler();
    slot_ = slots.take(SystemPath(name));
}

RemoveOnSignal::~RemoveOnSignal() {
    slots.release(slot_);
}

EndingSignalsHeldBack::EndingSignalsHeldBack() {
    InstallHandler();
    naming.lock();
}

EndingSignalsHeldBack::~EndingSignalsHeldBack() {
    naming.unlock();
}

UninterruptedNaming::UninterruptedNaming() {
    InstallHandler();
    naming.lock();
}

UninterruptedNaming::~UninterruptedNaming() {
    endWaits = endWaits || given_;
    naming.unlock();
    if (!given_) {
        ResumeEndingSignals();
    }
}

// Ends the program as the console's request would have.
void ResumeEndingSignals() {
    bool asked = false;
    {
        const std::lock_guard lock(naming);
        asked = std::exchange(endAsked, false);
        endWaits = false;
    }
    if (asked) {
        RemoveReadyNames();
        ::ExitProcess(STATUS_CONTROL_C_EXIT);
    }
}

}  // namespace morvane
