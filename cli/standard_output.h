#pragma once

#include <ostream>
#include <string>
#include <system_error>

#include "model/files/descriptor_buffer.h"

namespace morvane::cli {

// Standard output as the tool writes its trace or its listing there: bytes
// that do not arrive are an error, never a silent loss, and the system's
// reason is kept for the message.
class StandardOutput {
public:
    StandardOutput();

    std::ostream& stream() { return stream_; }

    // Flushes; the system's reason why what was written did not arrive, if
    // it did not.
    std::error_code flushError();

    // Flushes; when that fails, says on standard error that `what` could
    // not be written, and returns false.
    bool stillWritten(const std::string& what);

private:
    OutputFileBuf buffer_;
    std::ostream stream_;
};

// The message for `what` that could not be written to standard output.
std::string UnwrittenOutputMessage(const std::string& what, const std::error_code& error);

}  // namespace morvane::cli
