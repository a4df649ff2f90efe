#include "startup/standard_streams.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace morvane {

bool EnsureStandardStreamsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) {
            continue;
        }
        // The lowest free descriptor is the one just found closed.
        if (::open("/dev/null", O_RDWR) != fd) {
            return false;
        }
    }
    // A file-size limit (`ulimit -f`) is then a write that fails, reported
    // and cleaned up as a full disk is, instead of an end without a word.
    return ::signal(SIGPIPE, SIG_IGN) != SIG_ERR && ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
}

}  // namespace morvane
