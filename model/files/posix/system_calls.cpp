#include "model/files/system_calls.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

namespace morvane::sys {

namespace {

namespace fs = std::filesystem;

// The kernel's own files look regular but have no length and change as they
// are read.
constexpr long kProcFileSystem = 0x9fa0;     // PROC_SUPER_MAGIC
constexpr long kSysFileSystem = 0x62656572;  // SYSFS_MAGIC

// File systems whose sync of the whole file system is as sound as a file's
// own sync: it writes and reports each file's data and metadata, and every
// writeback failure since the descriptor was opened (ext2, ext3 and ext4
// share one number).
constexpr unsigned long kExt4FileSystem = 0xEF53;
constexpr unsigned long kXfsFileSystem = 0x58465342;
constexpr unsigned long kBtrfsFileSystem = 0x9123683E;

// A new name gets 0666 less the umask (or the folder's default ACL) from the
// system itself when the file is made; a replacement first belongs to no one
// else, until it has been given the old file's owner and group.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kReplacementMode = 0600;

// The kernel's own limit on the links followed in one path.
constexpr int kMostLinksFollowed = 40;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code errorOf(int result) {
    return result == 0 ? std::error_code() : lastError();
}

FileKind kindOf(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return FileKind::Regular;
        case S_IFDIR:
            return FileKind::Folder;
        case S_IFCHR:
            return FileKind::CharacterDevice;
        case S_IFBLK:
            return FileKind::BlockDevice;
        case S_IFIFO:
            return FileKind::Pipe;
        case S_IFSOCK:
            return FileKind::Socket;
        case S_IFLNK:
            return FileKind::SymbolicLink;
        default:
            return FileKind::Other;
    }
}

FileStatus statusFrom(const struct stat& status) {
    return {kindOf(status.st_mode),
            {status.st_dev, status.st_ino},
            false,
            std::pair(static_cast<std::uint32_t>(status.st_uid),
                      static_cast<std::uint32_t>(status.st_gid)),
            static_cast<std::uint32_t>(status.st_mode & 07777)};
}

bool isKernelInformation(int fd) {
    struct statfs system {};
    if (::fstatfs(fd, &system) != 0) {
        return false;
    }
    const long type = static_cast<long>(system.f_type);
    return type == kProcFileSystem || type == kSysFileSystem;
}

// Without O_NONBLOCK, opening a named pipe waits for a writer, forever if none
// comes; a regular file reads the same either way once the flag is cleared.
std::error_code openToRead(const fs::path& path, File& file) {
    file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        return lastError();
    }
    const int flags = ::fcntl(file, F_GETFL);
    if (flags < 0 || ::fcntl(file, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const std::error_code error = lastError();
        ::close(std::exchange(file, kNoFile));
        return error;
    }
    return {};
}

std::error_code statusOfFile(File file, FileStatus& status) {
    struct stat found {};
    if (::fstat(file, &found) != 0) {
        return lastError();
    }
    status = statusFrom(found);
    if (status.kind == FileKind::Regular && isKernelInformation(file)) {
        status.kind = FileKind::SystemInformation;
    }
    return {};
}

std::error_code nameOf(File, const fs::path& opened, fs::path& name) {
    name = opened.filename();
    return {};
}

std::error_code stateOf(File file, FileState& state) {
    struct stat status {};
    if (::fstat(file, &status) != 0) {
        return lastError();
    }
    const auto nanoseconds = [](const timespec& time) {
        return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
    };
    state = {status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
    return {};
}

std::error_code read(File file, char* data, std::size_t size, std::size_t& got) {
    ssize_t read;
    do {
        read = ::read(file, data, size);
    } while (read < 0 && errno == EINTR);
    got = static_cast<std::size_t>(std::max<ssize_t>(read, 0));
    return read < 0 ? lastError() : std::error_code();
}

std::error_code write(File file, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

std::error_code seek(File file, std::int64_t offset, Whence from, std::int64_t& position) {
    const int whence = from == Whence::Start     ? SEEK_SET
                       : from == Whence::Current ? SEEK_CUR
                                                 : SEEK_END;
    const off_t reached = ::lseek(file, offset, whence);
    position = reached;
    return reached < 0 ? lastError() : std::error_code();
}

std::error_code copyInKernel(File from, File to, std::size_t size, std::size_t& copied) {
    ssize_t moved;
    do {
        moved = ::copy_file_range(from, nullptr, to, nullptr, size, 0);
    } while (moved < 0 && errno == EINTR);
    copied = static_cast<std::size_t>(std::max<ssize_t>(moved, 0));
    return moved < 0 ? lastError() : std::error_code();
}

void startWriteback(File file, std::int64_t offset, std::int64_t length) {
    ::sync_file_range(file, offset, length, SYNC_FILE_RANGE_WRITE);
}

std::error_code syncFile(File file) {
    return errorOf(::fsync(file));
}

std::error_code close(File file) {
    return errorOf(::close(file));
}

// Root may write to any file that someone may.
std::error_code statusOf(const fs::path& path, bool followLinks,
                         std::optional<FileStatus>& status) {
    struct stat found {};
    status.reset();
    if ((followLinks ? ::stat(path.c_str(), &found) : ::lstat(path.c_str(), &found)) != 0) {
        return errno == ENOENT ? std::error_code() : lastError();
    }
    status = statusFrom(found);
    if (status->kind != FileKind::Regular) {
        return {};
    }
    status->readOnly = (found.st_mode & 0222) == 0;
    if (!status->readOnly && ::access(path.c_str(), W_OK) != 0) {
        if (errno != EACCES) {
            return lastError();
        }
        status->readOnly = true;
    }
    return {};
}

// Where a walk through a name stands: the folder reached, both as the system
// knows it (no links in it) and as the user would write it.
struct Walked {
    fs::path real;
    fs::path shown;
};

std::optional<PlantedLink> plantedIn(const Walked& folder, const fs::path& name,
                                     const struct stat& link, std::error_code& error) {
    struct stat status {};
    if (::stat(folder.real.c_str(), &status) != 0) {
        error = lastError();
        return std::nullopt;
    }
    const bool shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
    if (!shared || link.st_uid == ::geteuid() || link.st_uid == status.st_uid) {
        return std::nullopt;
    }
    const fs::path shownFolder = folder.shown.empty() ? fs::path(".") : folder.shown;
    return PlantedLink{(folder.shown / name).lexically_normal(), shownFolder.lexically_normal(),
                       static_cast<std::uint32_t>(link.st_uid)};
}

// As the kernel's protected_symlinks rule would, where the system does not
// apply it, at every link on the way: the name's own, the links it leads to,
// and those among the folders on its way. The name leads through a link only
// where its last part is one; a folder reached through a link is the folder.
std::error_code followLinks(const fs::path& name, FollowedName& followed) {
    followed = FollowedName{};
    followed.target = name;
    std::vector<fs::path> parts(name.begin(), name.end());
    std::ranges::reverse(parts);
    Walked at{name.is_absolute() ? fs::path("/") : fs::current_path(),
              name.is_absolute() ? fs::path("/") : fs::path()};
    int links = 0;
    bool lastIsLink = false;
    while (!parts.empty()) {
        const fs::path part = std::move(parts.back());
        parts.pop_back();
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "/" || part == "..") {
            at = part == "/" ? Walked{"/", "/"} : Walked{at.real.parent_path(), at.shown / ".."};
            continue;
        }
        struct stat link {};
        if (::lstat((at.real / part).c_str(), &link) != 0) {
            if (errno != ENOENT) {
                return lastError();
            }
            at = {at.real / part, at.shown / part};
            break;
        }
        if (!S_ISLNK(link.st_mode)) {
            at = {at.real / part, at.shown / part};
            continue;
        }
        if (++links > kMostLinksFollowed) {
            return {ELOOP, std::generic_category()};
        }
        std::error_code error;
        followed.planted = plantedIn(at, part, link, error);
        if (error || followed.planted) {
            return error;
        }
        const fs::path destination = fs::read_symlink(at.real / part, error);
        if (error) {
            return error;
        }
        if (parts.empty() && !lastIsLink) {
            lastIsLink = true;
            followed.dangling = destination;
        }
        const std::vector<fs::path> leadsTo(destination.begin(), destination.end());
        parts.insert(parts.end(), leadsTo.rbegin(), leadsTo.rend());
    }
    if (lastIsLink && parts.empty() && ::access(at.real.c_str(), F_OK) == 0) {
        followed.target = at.real;
        followed.throughLink = true;
    }
    if (!lastIsLink || followed.throughLink) {
        followed.dangling.reset();
    }
    return {};
}

// A name is known by its folder, as the file system knows that folder
// whatever the path to it, and by itself.
fs::path::string_type placeOf(const fs::path& name) {
    const fs::path folder = name.has_parent_path() ? name.parent_path() : fs::path(".");
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
        return fs::absolute(name).native();
    }
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + "/" +
           name.filename().native();
}

std::error_code createUnnamed(const fs::path& folder, bool replacement, File& file) {
    file = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                  replacement ? kReplacementMode : kNewFileMode);
    if (file >= 0) {
        return {};
    }
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
        return std::make_error_code(std::errc::not_supported);
    }
    return lastError();
}

std::error_code createNamed(const fs::path& name, bool replacement, File& file) {
    file = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC,
                  replacement ? kReplacementMode : kNewFileMode);
    return file >= 0 ? std::error_code() : lastError();
}

// A file without a name is linked through its entry in /proc, or by the
// descriptor itself where the process may (which takes CAP_DAC_READ_SEARCH).
std::error_code linkUnnamed(File file, const fs::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(file);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return {};
    }
    if (errno == ENOENT && ::linkat(file, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
        return {};
    }
    return lastError();
}

std::error_code linkName(const fs::path& existing, const fs::path& name) {
    return errorOf(::link(existing.c_str(), name.c_str()));
}

std::error_code rename(const fs::path& from, const fs::path& to) {
    return errorOf(::rename(from.c_str(), to.c_str()));
}

std::error_code moveName(const fs::path& from, const fs::path& to) {
    return errorOf(::rename(from.c_str(), to.c_str()));
}

std::error_code remove(const fs::path& name) {
    return errorOf(::unlink(name.c_str()));
}

std::error_code makeFolder(const fs::path& folder) {
    return errorOf(::mkdir(folder.c_str(), 0777));
}

std::error_code readFolder(const fs::path& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error); !error && entry != fs::end(entry);
         entry.increment(error)) {
        struct stat status {};
        const FileKind kind =
            ::lstat(entry->path().c_str(), &status) == 0 ? kindOf(status.st_mode) : FileKind::Other;
        entries.push_back({entry->path().filename(), kind});
    }
    return error;
}

std::error_code attributeNames(const fs::path& path, std::vector<std::string>& names) {
    names.clear();
    std::vector<char> list;
    for (;;) {
        const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0) {
            return errno == ENOTSUP || errno == ENOSYS ? std::error_code() : lastError();
        }
        list.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(path.c_str(), list.data(), list.size());
        if (got >= 0) {
            list.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            return lastError();
        }
    }
    for (std::size_t at = 0; at < list.size();) {
        names.emplace_back(list.data() + at);
        at += names.back().size() + 1;
    }
    return {};
}

std::error_code attributeValue(const fs::path& path, const std::string& name,
                               std::vector<char>& value) {
    for (;;) {
        const ssize_t size = ::getxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) {
            return lastError();
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return {};
        }
        if (errno != ERANGE) {
            return lastError();
        }
    }
}

std::error_code giveOwner(File file, std::uint32_t user, std::uint32_t group) {
    return errorOf(::fchown(file, user, group));
}

std::error_code giveAttribute(File file, const Attribute& attribute) {
    return errorOf(::fsetxattr(file, attribute.name.c_str(), attribute.value.data(),
                               attribute.value.size(), 0));
}

std::error_code giveMode(File file, std::uint32_t mode, std::uint32_t& given) {
    struct stat made {};
    if (::fchmod(file, static_cast<mode_t>(mode)) != 0 || ::fstat(file, &made) != 0) {
        return lastError();
    }
    given = made.st_mode & 07777;
    return {};
}

std::optional<std::uint64_t> soundlySyncedFileSystem(File file) {
    struct statfs system {};
    struct stat status {};
    if (::fstatfs(file, &system) != 0 || ::fstat(file, &status) != 0) {
        return std::nullopt;
    }
    const auto type = static_cast<unsigned long>(system.f_type);
    if (type != kExt4FileSystem && type != kXfsFileSystem && type != kBtrfsFileSystem) {
        return std::nullopt;
    }
    return status.st_dev;
}

std::error_code syncFileSystem(File file) {
    return errorOf(::syncfs(file));
}

std::error_code syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    const std::error_code error = errorOf(::fsync(fd));
    ::close(fd);
    return error;
}

// The process's limit less the descriptors open now, the standard streams
// and any it inherited among them.
std::size_t filesStillFree() {
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) {
        return SIZE_MAX;
    }
    std::size_t open = 0;
    std::error_code error;
    for (fs::directory_iterator entry("/proc/self/fd", error); !error && entry != fs::end(entry);
         entry.increment(error)) {
        ++open;
    }
    return files.rlim_cur > open ? files.rlim_cur - open : 0;
}

}  // namespace

#define MORVANE_NATIVE_ENTRY(name) .name = name,
extern const Calls kNativeCalls{MORVANE_SYSTEM_CALLS(MORVANE_NATIVE_ENTRY)};
#undef MORVANE_NATIVE_ENTRY

}  // namespace morvane::sys
