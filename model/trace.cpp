#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <ostream>

namespace morvane {

void traceLine(std::ostream& trace, const char* format, ...) {
    if (!trace) {
        return;  // a silenced trace costs no formatting
    }
    char line[128];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length > 0) {
        trace.write(line, static_cast<std::streamsize>(length));
    }
}

}  // namespace morvane
