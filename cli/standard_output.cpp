#include "standard_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace morvane::cli {

StandardOutput::StandardOutput() : buffer_(STDOUT_FILENO), stream_(&buffer_) {}

int StandardOutput::flushError() {
    stream_.flush();
    if (buffer_.error() != 0) {
        return buffer_.error();
    }
    return stream_ ? 0 : EIO;
}

bool StandardOutput::stillWritten(const std::string& what) {
    const int error = flushError();
    if (error == 0) {
        return true;
    }
    std::cerr << "morvane-cli: " << UnwrittenOutputMessage(what, error) << '\n';
    return false;
}

std::string UnwrittenOutputMessage(const std::string& what, int error) {
    return "cannot write " + what + " to standard output: " + std::strerror(error);
}

}  // namespace morvane::cli
