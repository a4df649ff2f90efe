#include "model/remove_on_signal.h"

#include <windows.h>

#include <mutex>

#include "model/name_slots.h"

namespace morvane {

namespace {

// The longest path Windows takes, with its terminating zero.
constexpr std::size_t kLongestPath = 32768;

NameSlots<kLongestPath> slots;

// Runs on a thread of its own when the console asks the program to end; the
// program then ends as it would have without it.
BOOL WINAPI RemoveRegisteredNames(DWORD) {
    slots.RemoveReady([](const wchar_t* name) { ::DeleteFileW(name); });
    return FALSE;
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    static std::once_flag installed;
    std::call_once(installed, [] { ::SetConsoleCtrlHandler(RemoveRegisteredNames, TRUE); });
    slot_ = slots.Take(name);
}

RemoveOnSignal::~RemoveOnSignal() {
    slots.Release(slot_);
}

}  // namespace morvane
