#pragma once

#include <cstdint>

namespace morvane {

// Moves bytes from where a pass's input stands to where its output stands
// without passing them through the process, as the system can between two
// files. The file layer, which opened both, offers it to the pass; a pass
// over other streams copies through its buffers.
class KernelCopy {
public:
    // Moves up to count bytes and moves both ends on; returns how many moved,
    // 0 when it cannot. The output's own buffered bytes are written first,
    // and whoever watches the input's reads (progress, a cancel) hears of the
    // copy as of a read of as many bytes. A failed step is not reported: the
    // caller goes on through its buffers, where a plain read or write meets
    // the failure again and says which file it concerns.
    virtual std::int64_t copy(std::int64_t count) = 0;

protected:
    ~KernelCopy() = default;
};

}  // namespace morvane
