#include "model/files/kernel_transfer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace morvane {

std::int64_t CopyBetweenFiles(int from, int to, std::size_t size) {
    ssize_t copied;
    do {
        copied = ::copy_file_range(from, nullptr, to, nullptr, size, 0);
    } while (copied < 0 && errno == EINTR);
    return copied;
}

void StartWriteback(int fd, std::int64_t offset, std::int64_t length) {
    ::sync_file_range(fd, offset, length, SYNC_FILE_RANGE_WRITE);
}

}  // namespace morvane
