#pragma once

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>

#include "model/errors.h"
#include "model/files/path_text.h"

namespace morvane {

// File names kept where a signal or console handler may read them without
// allocating or locking. A name is written into a free slot before the slot
// is marked ready, and the handler reads only ready slots, so it never sees
// half a name. Longest counts the terminating zero.
template <std::size_t Longest>
class NameSlots {
public:
    // The slot that holds the name from now on.
    int take(const std::filesystem::path& name) {
        const auto& native = name.native();
        if (native.size() >= Longest) {
            throw FileError("the temporary name " + TextOf(name) + " is too long");
        }
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            int expected = Slot::Free;
            if (slots_[i].state.compare_exchange_strong(expected, Slot::Taken)) {
                std::memcpy(slots_[i].name, native.c_str(), (native.size() + 1) * sizeof native[0]);
                slots_[i].state.store(Slot::Ready);
                return static_cast<int>(i);
            }
        }
        throw FileError("too many rewrites at once to keep track of their temporary files");
    }

    void release(int slot) { slots_[static_cast<std::size_t>(slot)].state.store(Slot::Free); }

    template <typename Remove>
    void removeReady(Remove remove) {
        for (Slot& slot : slots_) {
            if (slot.state.load() == Slot::Ready) {
                remove(slot.name);
            }
        }
    }

private:
    struct Slot {
        enum State { Free, Taken, Ready };
        std::atomic<int> state{Free};
        std::filesystem::path::value_type name[Longest];
    };

    std::array<Slot, 16> slots_;
};

}  // namespace morvane
