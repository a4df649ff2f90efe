#pragma once

#include <iosfwd>

namespace morvane {

// Writes one printf-formatted line of the pass's trace.
[[gnu::format(printf, 2, 3)]] void traceLine(std::ostream& trace, const char* format, ...);

}  // namespace morvane
