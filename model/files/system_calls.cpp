#include "model/files/system_calls.h"

namespace morvane::sys {

// Each system's half fills it in (posix/, windows/).
extern const Calls kNativeCalls;

const Calls& NativeCalls() {
    return kNativeCalls;
}

Calls& SystemCalls() {
    static Calls calls = kNativeCalls;
    return calls;
}

}  // namespace morvane::sys
