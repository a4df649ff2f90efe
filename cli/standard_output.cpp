#include "standard_output.h"

#include <unistd.h>

#include <iostream>

namespace morvane::cli {

StandardOutput::StandardOutput() : buffer_(STDOUT_FILENO), stream_(&buffer_) {}

std::error_code StandardOutput::flushError() {
    stream_.flush();
    if (buffer_.error()) {
        return buffer_.error();
    }
    return stream_ ? std::error_code() : std::make_error_code(std::errc::io_error);
}

bool StandardOutput::stillWritten(const std::string& what) {
    const std::error_code error = flushError();
    if (!error) {
        return true;
    }
    std::cerr << "morvane-cli: " << UnwrittenOutputMessage(what, error) << '\n';
    return false;
}

std::string UnwrittenOutputMessage(const std::string& what, const std::error_code& error) {
    return "cannot write " + what + " to standard output: " + error.message();
}

}  // namespace morvane::cli
