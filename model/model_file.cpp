#include "model_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace morvane {

namespace {

constexpr long kProcFileSystem = 0x9fa0;     // PROC_SUPER_MAGIC
constexpr long kSysFileSystem = 0x62656572;  // SYSFS_MAGIC

std::string escaped(unsigned char c) {
    switch (c) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", c);
            return text;
    }
}

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

std::string QuotedText(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            quoted += escaped(byte);
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(path.native());
}

void FailWith(const std::string& what, int error) {
    throw FileError(what + ": " + std::strerror(error));
}

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
        throw FileError(Quoted(path) + " is " + DescribeFileKind(mode) + ", not a model file");
    }
}

FileDescriptor OpenModelFile(const std::filesystem::path& path) {
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

ModelError NamingFile(const std::filesystem::path& path, const ModelError& error) {
    return ModelError(error.kind(), error.offset(), Quoted(path) + ": " + error.what());
}

void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer) {
    if (buffer.error() != 0) {
        FailWith("cannot read the model " + Quoted(path), buffer.error());
    }
    throw FileError("cannot read the model " + Quoted(path) + ": it changed while it was read");
}

}  // namespace morvane
