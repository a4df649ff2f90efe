#include "model/files/posix/file_kind.h"

#include <sys/stat.h>

#include "model/files/file_errors.h"

namespace morvane {

std::string DescribeFileKind(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return "a regular file";
        case S_IFDIR:
            return "a folder";
        case S_IFCHR:
            return "a character device";
        case S_IFBLK:
            return "a block device";
        case S_IFIFO:
            return "a named pipe (FIFO)";
        case S_IFSOCK:
            return "a socket";
        case S_IFLNK:
            return "a symbolic link";
        default:
            return "not a regular file";
    }
}

void RequireRegularFile(const std::filesystem::path& path, mode_t mode) {
    if (!S_ISREG(mode)) {
        RefuseNotAModelFile(path, DescribeFileKind(mode));
    }
}

}  // namespace morvane
