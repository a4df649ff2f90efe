#pragma once

namespace morvane {

// Opens closed standard streams onto the null device before the program opens
// a file, which could otherwise become standard output and take in the trace,
// and makes a reader that goes away (`| head`) and a file-size limit write
// errors, not the end of the program. False when it cannot; the program must
// then stop.
bool EnsureStandardStreamsOpen();

}  // namespace morvane
