#include "model/remove_on_signal.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

#include "model/errors.h"

namespace morvane {

namespace {

// The longest path Windows takes, with its terminating zero.
constexpr std::size_t kLongestPath = 32768;

// A name is written into a free slot before the slot is marked ready, and
// the handler reads only ready slots, so it never sees half a name.
struct Slot {
    enum State { Free, Taken, Ready };
    std::atomic<int> state{Free};
    wchar_t name[kLongestPath];
};

std::array<Slot, 16> slots;

// Runs on a thread of its own when the console asks the program to end; the
// program then ends as it would have without it.
BOOL WINAPI RemoveRegisteredNames(DWORD) {
    for (Slot& slot : slots) {
        if (slot.state.load() == Slot::Ready) {
            ::DeleteFileW(slot.name);
        }
    }
    return FALSE;
}

int TakeSlot(const std::filesystem::path& name) {
    const std::wstring& wide = name.native();
    if (wide.size() >= kLongestPath) {
        throw FileError("the temporary name is too long");
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
        int expected = Slot::Free;
        if (slots[i].state.compare_exchange_strong(expected, Slot::Taken)) {
            std::memcpy(slots[i].name, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
            slots[i].state.store(Slot::Ready);
            return static_cast<int>(i);
        }
    }
    throw FileError("too many rewrites at once to keep track of their temporary files");
}

}  // namespace

RemoveOnSignal::RemoveOnSignal(const std::filesystem::path& name) {
    static std::once_flag installed;
    std::call_once(installed, [] { ::SetConsoleCtrlHandler(RemoveRegisteredNames, TRUE); });
    slot_ = TakeSlot(name);
}

RemoveOnSignal::~RemoveOnSignal() {
    slots[static_cast<std::size_t>(slot_)].state.store(Slot::Free);
}

}  // namespace morvane
