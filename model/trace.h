#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string_view>

namespace morvane {

// The pass's trace, formatted straight into a buffer and handed on in large
// pieces; formatted here in the header, so that each caller's fixed texts are
// copied as constants. A stream already failed (an ostream without a buffer)
// silences it, and a silenced trace costs no formatting.
class Trace {
public:
    explicit Trace(std::ostream& out);
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace();

    bool on() const { return on_; }

    // A fixed line, newline included.
    void text(std::string_view line) {
        if (on_) {
            char* const start = reserve(line.size());
            finish(start, put(start, line));
        }
    }

    // `before`, the value in decimal, then `after`.
    void number(std::string_view before, std::int32_t value, std::string_view after = "\n") {
        if (on_) {
            char* const start = reserve(before.size() + kValueBytes + after.size());
            char* at = put(start, before);
            at = std::to_chars(at, at + kValueBytes, value).ptr;
            finish(start, put(at, after));
        }
    }

    // `before`, the value as 8 upper-case hexadecimal digits, and a newline.
    void hex(std::string_view before, std::uint32_t value) {
        if (on_) {
            char* const start = reserve(before.size() + kValueBytes);
            char* at = put(start, before);
            for (int shift = 28; shift >= 0; shift -= 4) {
                *at++ = "0123456789ABCDEF"[(value >> shift) & 0xFu];
            }
            *at++ = '\n';
            finish(start, at);
        }
    }

    // Hands the lines so far to the stream.
    void flush();

private:
    static constexpr std::size_t kBufferBytes = 64 * 1024;
    // Room for the longest number or hexadecimal word a line holds; a line's
    // texts are short, far shorter than the buffer.
    static constexpr std::size_t kValueBytes = 16;

    static char* put(char* at, std::string_view text) {
        std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }

    char* reserve(std::size_t bytes) {
        if (kBufferBytes - used_ < bytes) {
            flush();
        }
        return buffer_.get() + used_;
    }

    void finish(const char* start, const char* end) {
        used_ += static_cast<std::size_t>(end - start);
    }

    std::ostream& out_;
    const bool on_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace morvane
