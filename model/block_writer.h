#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>

#include "model/stream.h"

namespace morvane {

class KernelCopy;

// The output of a pass on its way to the output stream: small pieces are
// gathered into one buffer and large ones go straight through, so that the
// stream sees few, large writes. A write the stream refuses sets the stream's
// bad bit, as a write through the stream itself would.
class BlockWriter {
public:
    // Large copies go through kernelCopy where one is given.
    explicit BlockWriter(std::ostream& out, KernelCopy* kernelCopy = nullptr);
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // The bytes need only stay where they are until the call returns.
    void append(const char* bytes, std::size_t count) {
        if (count < kDirectBytes && count <= kBufferBytes - used_) {
            std::memcpy(buffer_.get() + used_, bytes, count);
            used_ += count;
            return;
        }
        appendLarge(bytes, count);
    }

    void writeWord(std::int32_t value) {
        if (kBufferBytes - used_ < 4) {
            flush();
        }
        StoreWord(buffer_.get() + used_, value);
        used_ += 4;
    }

    // Moves up to count bytes from where the input stands straight into the
    // output, after everything gathered so far; returns how many: 0 without
    // a kernel copy.
    std::int64_t copyInKernel(std::int64_t count);

    // Hands everything gathered to the stream.
    void flush();

private:
    static constexpr std::size_t kBufferBytes = 256 * 1024;
    // Pieces at least this large go to the stream as they are.
    static constexpr std::size_t kDirectBytes = 64 * 1024;

    void appendLarge(const char* bytes, std::size_t count);
    void send(const char* bytes, std::size_t count);

    std::ostream& out_;
    KernelCopy* const kernelCopy_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace morvane
