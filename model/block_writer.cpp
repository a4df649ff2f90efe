#include "model/block_writer.h"

#include <ostream>

#include "model/kernel_copy.h"

namespace morvane {

BlockWriter::BlockWriter(std::ostream& out, KernelCopy* kernelCopy)
    : out_(out),
      kernelCopy_(kernelCopy),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {}

void BlockWriter::appendLarge(const char* bytes, std::size_t count) {
    flush();
    if (count >= kDirectBytes) {
        send(bytes, count);
        return;
    }
    std::memcpy(buffer_.get(), bytes, count);
    used_ = count;
}

std::int64_t BlockWriter::copyInKernel(std::int64_t count) {
    flush();
    if (!out_ || kernelCopy_ == nullptr) {
        return 0;
    }
    return kernelCopy_->copy(count);
}

void BlockWriter::flush() {
    send(buffer_.get(), used_);
    used_ = 0;
}

// Once the stream has failed, the rest is dropped: the pass stops at its next
// check and the output is discarded.
void BlockWriter::send(const char* bytes, std::size_t count) {
    if (count == 0 || !out_) {
        return;
    }
    const auto size = static_cast<std::streamsize>(count);
    if (out_.rdbuf()->sputn(bytes, size) != size) {
        out_.setstate(std::ios::badbit);
    }
}

}  // namespace morvane
