#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>

namespace morvane {

// The pass's trace: each line formatted straight into a buffer, without locale
// or stream formatting, and handed to the trace stream in large pieces when
// the buffer fills and when the trace ends. A stream that is already in a
// failed state (such as an ostream without a buffer) silences it, and a
// silenced trace costs no formatting.
class Trace {
public:
    explicit Trace(std::ostream& out);
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace();

    bool on() const { return on_; }

    void text(std::string_view line) {
        if (on_) {
            append(line);
        }
    }
    // `before`, the value in decimal, then `after`.
    void number(std::string_view before, std::int32_t value, std::string_view after = "\n") {
        if (on_) {
            appendNumber(before, value, after);
        }
    }
    // `before`, the value as 8 upper-case hexadecimal digits, and a newline.
    void hex(std::string_view before, std::uint32_t value) {
        if (on_) {
            appendHex(before, value);
        }
    }

    // Hands the lines so far to the stream.
    void flush();

private:
    void append(std::string_view text);
    void appendNumber(std::string_view before, std::int32_t value, std::string_view after);
    void appendHex(std::string_view before, std::uint32_t value);
    char* reserve(std::size_t bytes);

    std::ostream& out_;
    const bool on_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace morvane
