#include "model/files/kernel_transfer.h"

#include <cerrno>

namespace morvane {

// The C runtime's descriptors offer neither; the buffers do the work.
std::int64_t CopyBetweenFiles(int, int, std::size_t) {
    errno = ENOSYS;
    return -1;
}

void StartWriteback(int, std::int64_t, std::int64_t) {}

}  // namespace morvane
