#include "trace.h"

#include <charconv>
#include <cstring>
#include <ostream>

namespace morvane {

namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
// Room for the longest number or hexadecimal word a line holds.
constexpr std::size_t kValueBytes = 16;

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

}  // namespace

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

char* Trace::reserve(std::size_t bytes) {
    if (kBufferBytes - used_ < bytes) {
        flush();
    }
    return buffer_.get() + used_;
}

void Trace::append(std::string_view text) {
    if (text.size() > kBufferBytes) {
        flush();
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
    }
    char* at = reserve(text.size());
    used_ += static_cast<std::size_t>(put(at, text) - at);
}

void Trace::appendNumber(std::string_view before, std::int32_t value, std::string_view after) {
    char* const start = reserve(before.size() + kValueBytes + after.size());
    char* at = put(start, before);
    at = std::to_chars(at, at + kValueBytes, value).ptr;
    at = put(at, after);
    used_ += static_cast<std::size_t>(at - start);
}

void Trace::appendHex(std::string_view before, std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char* const start = reserve(before.size() + kValueBytes);
    char* at = put(start, before);
    for (int shift = 28; shift >= 0; shift -= 4) {
        *at++ = kDigits[(value >> shift) & 0xFu];
    }
    *at++ = '\n';
    used_ += static_cast<std::size_t>(at - start);
}

}  // namespace morvane
