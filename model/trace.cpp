#include "model/trace.h"

#include <ostream>

namespace morvane {

Trace::Trace(std::ostream& out)
    : out_(out),
      on_(static_cast<bool>(out)),
      buffer_(on_ ? std::make_unique_for_overwrite<char[]>(kBufferBytes) : nullptr) {}

Trace::~Trace() {
    flush();
}

void Trace::flush() {
    if (used_ > 0) {
        out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }
}

}  // namespace morvane
