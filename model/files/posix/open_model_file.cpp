#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <cerrno>

#include "model/files/file_errors.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "model/files/posix/file_kind.h"

namespace morvane {

namespace {

constexpr long kProcFileSystem = 0x9fa0;     // PROC_SUPER_MAGIC
constexpr long kSysFileSystem = 0x62656572;  // SYSFS_MAGIC

// The kernel's own files look regular but have no length and change as they
// are read; they are no models.
bool IsKernelInformationFile(int fd) {
    struct statfs system {};
    if (::fstatfs(fd, &system) != 0) {
        return false;
    }
    const long type = static_cast<long>(system.f_type);
    return type == kProcFileSystem || type == kSysFileSystem;
}

// Without O_NONBLOCK, opening a named pipe waits for a writer, forever if none
// comes; a regular file reads the same either way once the flag is cleared.
void ClearNonBlocking(const std::filesystem::path& path, int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        FailWith("cannot read the model " + Quoted(path), errno);
    }
}

}  // namespace

FileDescriptor ModelFile::open(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen()) {
        FailWith("cannot open the model " + Quoted(path), errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        FailWith("cannot read the model " + Quoted(path), errno);
    }
    RequireRegularFile(path, status.st_mode);
    if (IsKernelInformationFile(fd.get())) {
        throw FileError(Quoted(path) +
                        " is a file of the system's own information, not a model file");
    }
    ClearNonBlocking(path, fd.get());
    return fd;
}

std::filesystem::path ModelFile::ownName() const {
    return path_.filename();
}

ModelFile::State ModelFile::state() const {
    struct stat status {};
    if (::fstat(fd(), &status) != 0) {
        FailWith("cannot read the model " + Quoted(path_), errno);
    }
    const auto nanoseconds = [](const timespec& time) {
        return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
    };
    return {status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

}  // namespace morvane
