#pragma once

#include <cstdint>
#include <iosfwd>

#include "model/errors.h"

namespace morvane {

class KernelCopy;

// What one pass did, for the summaries of the window and the command-line tool.
struct PassSummary {
    int chunksCopied = 0;  // ZRM4, XYZS, PLAN, NORM and STRN chunks
    int primsExtended = 0;
    // Unbounded by the output's 2 GiB limit: HAND chunks write nothing, and a
    // long enough input of empty ones would overflow a 32-bit count.
    std::int64_t handsDropped = 0;
    std::int64_t unrecognisedBytes = 0;  // words passed over because they are no known tag
    int trailingBytes = 0;               // the end of the input too short to make a word
    std::int64_t bytesWritten = 0;

    bool operator==(const PassSummary&) const = default;
};

// Rewrites the model at the start of input into the empty output, both
// seekable, tracing every step. Large payloads go through kernelCopy where
// one is given, which must move bytes from input to output. Throws
// ModelError for an input that is no sound model (output then holds a partial
// model to discard), FileError when a stream fails, and std::invalid_argument
// for a count outside the format's range.
PassSummary AddCollisionVolumes(std::istream& input, std::ostream& output, int volumes,
                                std::ostream& trace, KernelCopy* kernelCopy = nullptr);

}  // namespace morvane
