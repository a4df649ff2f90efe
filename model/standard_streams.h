#pragma once

namespace morvane {

// Makes sure descriptors 0, 1 and 2 are open, onto the null device where they
// were closed, before the program opens any file of its own: otherwise a
// model or a temporary file could become standard output and take in the
// trace. False when that cannot be done; the program must then stop.
bool EnsureStandardStreamsOpen();

}  // namespace morvane
