#pragma once

namespace morvane {

// Readies standard input, output and error before the program opens any file
// of its own. Descriptors 0, 1 and 2 are made sure to be open, onto the null
// device where they were closed: otherwise a model or a temporary file could
// become standard output and take in the trace. A reader of standard output
// that goes away (`| head`) becomes a write error to report rather than the
// end of the program. False when this cannot be done; the program must then
// stop.
bool EnsureStandardStreamsOpen();

}  // namespace morvane
