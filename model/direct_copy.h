#pragma once

#include <cstdint>
#include <streambuf>

namespace morvane {

// An output stream buffer that can take bytes straight from another stream
// buffer without passing them through the process, as a file can from a file.
class DirectCopyTarget {
public:
    // Moves up to count bytes from where source stands to where this stands,
    // asking as a read of source would; returns how many moved: 0 when it
    // cannot take from that source. A failed step is not reported: the
    // caller goes on through its buffers, where a plain read or write meets
    // the failure again and says which file it concerns.
    virtual std::int64_t copyFrom(std::streambuf& source, std::int64_t count) = 0;

protected:
    ~DirectCopyTarget() = default;
};

}  // namespace morvane
