#include "model/files/safe_output.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/posix/file_kind.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// A new name gets 0666 less the umask (or the folder's default ACL) from the
// system itself when the file is made; a replacement first belongs to no one
// else, until it has been given the old file's owner and group.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kReplacementMode = 0600;

// File systems whose sync of the whole file system is as sound as a file's
// own sync (ext2, ext3 and ext4 share one number).
constexpr unsigned long kExt4FileSystem = 0xEF53;
constexpr unsigned long kXfsFileSystem = 0x58465342;
constexpr unsigned long kBtrfsFileSystem = 0x9123683E;

// Each output waiting for its name holds its new file open; these are kept
// for the model being read, the check before it, and a folder being synced.
constexpr std::size_t kDescriptorsKept = 4;

struct ExtendedAttribute {
    std::string name;
    std::vector<char> value;
};

std::vector<char> readAttribute(const fs::path& file, const fs::path& shown, const char* name) {
    const std::string failure =
        "cannot read the attribute " + QuotedText(name) + " of " + Quoted(shown);
    for (;;) {
        const ssize_t size = ::getxattr(file.c_str(), name, nullptr, 0);
        if (size < 0) {
            FailWith(failure, errno);
        }
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(file.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE) {
            FailWith(failure, errno);
        }
    }
}

// Access control lists are extended attributes, so they come along with the rest.
std::vector<ExtendedAttribute> readAttributes(const fs::path& file, const fs::path& shown) {
    std::vector<char> names;
    for (;;) {
        const ssize_t size = ::listxattr(file.c_str(), nullptr, 0);
        if (size < 0 && (errno == ENOTSUP || errno == ENOSYS)) {
            return {};
        }
        if (size < 0) {
            FailWith("cannot read the attributes of " + Quoted(shown), errno);
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(file.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            FailWith("cannot read the attributes of " + Quoted(shown), errno);
        }
    }
    std::vector<ExtendedAttribute> attributes;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.data() + at);
        attributes.push_back({name, readAttribute(file, shown, name.c_str())});
        at += name.size() + 1;
    }
    return attributes;
}

std::string octal(mode_t mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Links the open file under name, as a file without a name can be; returns
// 0 or the errno of the failure.
int linkOpenFile(int fd, const fs::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    return errno;
}

std::size_t openDescriptors() {
    std::size_t open = 0;
    std::error_code error;
    for (fs::directory_iterator entry("/proc/self/fd", error); !error && entry != fs::end(entry);
         entry.increment(error)) {
        ++open;
    }
    return open;
}

// The kernel's own limit on the links followed in one path.
constexpr int kMostLinksFollowed = 40;

// Where a walk through the output's path stands: the folder reached, both as
// the system knows it (no links in it) and as the user would write it.
struct WalkedPath {
    fs::path real;
    fs::path shown;
};

void requireFollowable(const WalkedPath& folder, const fs::path& name, const struct stat& link) {
    struct stat status {};
    if (::stat(folder.real.c_str(), &status) != 0) {
        FailWith("cannot write through " + Quoted((folder.shown / name).lexically_normal()), errno);
    }
    const bool shared = (status.st_mode & S_ISVTX) != 0 && (status.st_mode & S_IWOTH) != 0;
    if (shared && link.st_uid != ::geteuid() && link.st_uid != status.st_uid) {
        const fs::path shownFolder =
            folder.shown.empty() ? fs::path(".") : folder.shown.lexically_normal();
        throw FileError(
            "refusing to write through " + Quoted((folder.shown / name).lexically_normal()) +
            ": it is a symbolic link that another user (user " + std::to_string(link.st_uid) +
            ") made in " + Quoted(shownFolder) + ", a folder that everyone may write to");
    }
}

}  // namespace

// What a replaced file had that its replacement must have too.
struct SafeOutput::Replaced {
    struct stat status;
    std::vector<ExtendedAttribute> attributes;
};

void SafeOutput::DropReplaced::operator()(Replaced* replaced) const {
    delete replaced;
}

// As the kernel's protected_symlinks rule would, where the system does not
// apply it, at every link on the way, the output name's own, those it leads
// to and those among the folders on its way: in a folder that everyone may
// write to and only owners may delete from (as /tmp), a link planted by
// another user could lead anywhere. The output leads through a link only
// where its last part is one; a folder reached through a link is the folder.
bool SafeOutput::followLink() {
    target_ = output_;
    std::vector<fs::path> parts(output_.begin(), output_.end());
    std::ranges::reverse(parts);
    WalkedPath at{output_.is_absolute() ? fs::path("/") : fs::current_path(),
                  output_.is_absolute() ? fs::path("/") : fs::path()};
    int links = 0;
    bool lastIsLink = false;
    while (!parts.empty()) {
        const fs::path part = std::move(parts.back());
        parts.pop_back();
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "/" || part == "..") {
            at = part == "/" ? WalkedPath{"/", "/"}
                             : WalkedPath{at.real.parent_path(), at.shown / ".."};
            continue;
        }
        struct stat link {};
        if (::lstat((at.real / part).c_str(), &link) != 0) {
            if (errno != ENOENT) {
                FailWith("cannot write " + Quoted(output_), errno);
            }
            // Nothing there: a new name, or a link that leads nowhere.
            at = {at.real / part, at.shown / part};
            break;
        }
        if (!S_ISLNK(link.st_mode)) {
            at = {at.real / part, at.shown / part};
            continue;
        }
        if (++links > kMostLinksFollowed) {
            FailWith("cannot write " + Quoted(output_), ELOOP);
        }
        requireFollowable(at, part, link);
        std::error_code error;
        const fs::path destination = fs::read_symlink(at.real / part, error);
        if (error) {
            FailWith("cannot write " + Quoted(output_), error.value());
        }
        lastIsLink = lastIsLink || parts.empty();
        const std::vector<fs::path> leadsTo(destination.begin(), destination.end());
        parts.insert(parts.end(), leadsTo.rbegin(), leadsTo.rend());
    }
    if (!lastIsLink) {
        return true;
    }
    if (!parts.empty() || ::access(at.real.c_str(), F_OK) != 0) {
        return false;
    }
    target_ = at.real;
    throughLink_ = true;
    return true;
}

// Root may write to any file that someone may.
std::optional<SafeOutput::FoundFile> SafeOutput::findFile(const fs::path& path,
                                                          bool followingLinks) const {
    struct stat status {};
    if ((followingLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        FailWith("cannot write " + Quoted(output_), errno);
    }
    FoundFile found{"", status.st_dev, status.st_ino, false};
    if (!S_ISREG(status.st_mode)) {
        found.kind = DescribeFileKind(status.st_mode);
        return found;
    }
    found.readOnly = (status.st_mode & 0222) == 0;
    if (!found.readOnly && ::access(path.c_str(), W_OK) != 0) {
        if (errno != EACCES) {
            FailWith("cannot write " + Quoted(output_), errno);
        }
        found.readOnly = true;
    }
    return found;
}

std::pair<std::uint64_t, std::uint64_t> SafeOutput::identityOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return {0, 0};
    }
    return {status.st_dev, status.st_ino};
}

std::unique_ptr<SafeOutput::Replaced, SafeOutput::DropReplaced> SafeOutput::noteReplaced() const {
    std::unique_ptr<Replaced, DropReplaced> replaced(new Replaced{});
    if (::stat(target_.c_str(), &replaced->status) != 0) {
        FailWith("cannot write " + Quoted(output_), errno);
    }
    replaced->attributes = readAttributes(target_, output_);
    return replaced;
}

// A name is known by its folder, as the file system knows that folder
// whatever the path to it, and by itself.
fs::path::string_type SafeOutput::placeOf(const fs::path& target) const {
    struct stat folder {};
    if (::stat(FolderOf(target).c_str(), &folder) != 0) {
        return fs::absolute(target).native();
    }
    return std::to_string(folder.st_dev) + ":" + std::to_string(folder.st_ino) + "/" +
           target.filename().native();
}

// On Linux the new model has no name until it is complete, so a run that
// dies leaves nothing behind; where the file system cannot make unnamed files
// it is a hidden file beside the output. A replacement the process may not
// give away is refused before anything is written.
void SafeOutput::makeTemporaryFile() {
    const mode_t mode = replaced_ ? kReplacementMode : kNewFileMode;
    fd_ = FileDescriptor(::open(folder().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (!fd_.isOpen()) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            FailWith("cannot write in the folder " + Quoted(folder()), errno);
        }
        makeHiddenFile();
    }
    if (!replaced_) {
        return;
    }
    const struct stat& old = replaced_->status;
    if (::fchown(fd(), old.st_uid, old.st_gid) != 0) {
        FailWith("cannot replace " + Quoted(output_) +
                     " with a file of the same owner and group (user " +
                     std::to_string(old.st_uid) + ", group " + std::to_string(old.st_gid) + ")",
                 errno);
    }
}

bool SafeOutput::createExclusive(const fs::path& name) {
    const mode_t mode = replaced_ ? kReplacementMode : kNewFileMode;
    fd_ = FileDescriptor(::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode));
    if (!fd_.isOpen() && errno != EEXIST) {
        FailWith("cannot write in the folder " + Quoted(folder()), errno);
    }
    return fd_.isOpen();
}

// The mode comes after the change of owner, which clears the set-ID bits,
// and after the attributes, since an access control list also sets the mode.
void SafeOutput::complete() {
    if (!replaced_ || std::exchange(completed_, true)) {
        return;
    }
    for (const ExtendedAttribute& attribute : replaced_->attributes) {
        if (::fsetxattr(fd(), attribute.name.c_str(), attribute.value.data(),
                        attribute.value.size(), 0) != 0) {
            FailWith("cannot give the new model the attribute " + QuotedText(attribute.name) +
                         " that " + Quoted(output_) + " has",
                     errno);
        }
    }
    const mode_t wanted = replaced_->status.st_mode & 07777;
    struct stat made {};
    if (::fchmod(fd(), wanted) != 0 || ::fstat(fd(), &made) != 0) {
        FailWith("cannot give the new model the permissions of " + Quoted(output_), errno);
    }
    if ((made.st_mode & 07777) != wanted) {
        throw FileError("cannot give the new model the permissions of " + Quoted(output_) +
                        ": it has mode " + octal(made.st_mode) + " where " + octal(wanted) +
                        " is wanted");
    }
}

void SafeOutput::flushToDisk() {
    if (::fsync(fd()) != 0) {
        FailWith("cannot write " + Quoted(output_), errno);
    }
}

// One sync of the whole file system makes all its files durable at the cost
// of little more than one of them, where that sync is known to write and
// report as a file's own sync does: each file's data and metadata, and the
// failure of any (it reports every writeback failure of the file system since
// the descriptor was opened, this one's included).
bool SafeOutput::syncedWithFileSystem(std::set<std::uint64_t>& synced) const {
    struct statfs system {};
    struct stat status {};
    if (::fstatfs(fd(), &system) != 0 || ::fstat(fd(), &status) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(system.f_type);
    if (type != kExt4FileSystem && type != kXfsFileSystem && type != kBtrfsFileSystem) {
        return false;
    }
    if (synced.contains(status.st_dev)) {
        return true;
    }
    if (::syncfs(fd()) != 0) {
        return false;
    }
    synced.insert(status.st_dev);
    return true;
}

// Linking the synced file there at once saves the file system a rename and,
// like the rename, never takes a name that another program made meanwhile.
bool SafeOutput::linkAsNewName() {
    if (replaced_ || !name_.empty()) {
        return false;
    }
    if (const int error = linkOpenFile(fd(), target_); error != 0) {
        if (error == EEXIST) {
            return false;
        }
        FailWith("cannot give the new model the name " + Quoted(output_), error);
    }
    if (const int error = fd_.close(); error != 0) {
        ::unlink(target_.c_str());
        FailWith("cannot write " + Quoted(output_), error);
    }
    return true;
}

// Only a file with a name can be renamed: a file without one holds a hidden
// name, complete and synced, for the fewest steps there can be.
void SafeOutput::renameOverTarget() {
    if (name_.empty()) {
        takeHiddenName("cannot give the new model a name in " + Quoted(folder()),
                       [this](const fs::path& name) {
                           const int error = linkOpenFile(fd(), name);
                           if (error != 0 && error != EEXIST) {
                               FailWith("cannot give the new model a name in " + Quoted(folder()),
                                        error);
                           }
                           return error == 0;
                       });
    }
    if (const int error = fd_.close(); error != 0) {
        FailWith("cannot write " + Quoted(output_), error);
    }
    if (::rename(name_.path().c_str(), target_.c_str()) != 0) {
        FailWith("cannot give the new model the name " + Quoted(output_), errno);
    }
}

// Without this the new name may not survive a power loss.
void SafeOutput::syncFolder() const {
    FileDescriptor folder(::open(this->folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen() || ::fsync(folder.get()) != 0) {
        FailWith("wrote " + Quoted(output_) + " but cannot sync its folder", errno);
    }
}

// The descriptors still free: the process's limit less those open now, the
// standard streams and any it inherited among them.
std::size_t SafeOutput::MostWaitingAtOnce() {
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) {
        return SIZE_MAX;
    }
    const std::size_t used = openDescriptors() + kDescriptorsKept;
    return files.rlim_cur > used ? files.rlim_cur - used : 1;
}

std::optional<OutputLanding> LandingOfFile(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return OutputLanding{status.st_dev, status.st_ino, {}};
}

}  // namespace morvane
