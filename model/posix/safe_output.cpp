#include "model/safe_output.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "file_kind.h"
#include "model/model_file.h"
#include "model/posix_file.h"
#include "model/remove_on_signal.h"
#include "model/temporary_name.h"
#include "signals_held_back.h"

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

struct ExtendedAttribute {
    std::string name;
    std::vector<char> value;
};

// What a replaced file had that its replacement must have too. Access
// control lists are extended attributes, so they come along with the rest.
struct ReplacedFile {
    struct stat status;
    std::vector<ExtendedAttribute> attributes;
};

// Where the new model goes: an output name that is a symbolic link is
// written through to the file it names.
struct OutputPlan {
    fs::path output;  // as the caller named it, for messages
    fs::path target;
    std::optional<ReplacedFile> replaced;
    OutputLanding landing;

    bool throughLink() const { return target != output; }
};

std::vector<char> readAttribute(const OutputPlan& plan, const char* name) {
    for (;;) {
        const ssize_t size = ::getxattr(plan.target.c_str(), name, nullptr, 0);
        if (size < 0) {
            FailWith("cannot read the attribute " + QuotedText(name) + " of " + Quoted(plan.output),
                     errno);
        }
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(plan.target.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE) {
            FailWith("cannot read the attribute " + QuotedText(name) + " of " + Quoted(plan.output),
                     errno);
        }
    }
}

std::vector<ExtendedAttribute> readAttributes(const OutputPlan& plan) {
    std::vector<char> names;
    for (;;) {
        const ssize_t size = ::listxattr(plan.target.c_str(), nullptr, 0);
        if (size < 0 && (errno == ENOTSUP || errno == ENOSYS)) {
            return {};
        }
        if (size < 0) {
            FailWith("cannot read the attributes of " + Quoted(plan.output), errno);
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::listxattr(plan.target.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            FailWith("cannot read the attributes of " + Quoted(plan.output), errno);
        }
    }
    std::vector<ExtendedAttribute> attributes;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.data() + at);
        attributes.push_back({name, readAttribute(plan, name.c_str())});
        at += name.size() + 1;
    }
    return attributes;
}

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

[[noreturn]] void refuseDanglingLink(const fs::path& output) {
    std::error_code ignored;
    const fs::path destination = fs::read_symlink(output, ignored);
    throw FileError(Quoted(output) + " is a symbolic link to " + Quoted(destination) +
                    ", which does not exist; refusing to replace the link");
}

// As the kernel's protected_symlinks rule would, where the system does not
// apply it: in a folder that everyone may write to and only owners may
// delete from (as /tmp), a link planted by another user could lead anywhere.
void refuseLinkPlantedInSharedFolder(const fs::path& output, const struct stat& link) {
    struct stat folder {};
    if (::stat(folderOf(output).c_str(), &folder) != 0) {
        FailWith("cannot write " + Quoted(output), errno);
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) {
        throw FileError("refusing to write through " + Quoted(output) +
                        ": it is a symbolic link that another user (user " +
                        std::to_string(link.st_uid) + ") made in " + Quoted(folderOf(output)) +
                        ", a folder that everyone may write to");
    }
}

// Follows a symbolic link; a link that leads nowhere is refused rather than
// replaced by a file of its own name.
fs::path followLinks(const fs::path& output) {
    struct stat link {};
    if (::lstat(output.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return output;
    }
    refuseLinkPlantedInSharedFolder(output, link);
    struct stat destination {};
    if (::stat(output.c_str(), &destination) != 0) {
        if (errno == ENOENT) {
            refuseDanglingLink(output);
        }
        FailWith("cannot write " + Quoted(output), errno);
    }
    std::error_code ignored;
    const fs::path resolved = fs::canonical(output, ignored);
    return resolved.empty() ? output : resolved;
}

// A file that no one may write to was made so on purpose, and the rename
// would replace it all the same; root may write to any file that someone may.
void requireWritable(const OutputPlan& plan, mode_t mode) {
    if ((mode & 0222) == 0) {
        RefuseReadOnly(plan.output);
    }
    if (::access(plan.target.c_str(), W_OK) != 0) {
        if (errno == EACCES) {
            RefuseReadOnly(plan.output);
        }
        FailWith("cannot write " + Quoted(plan.output), errno);
    }
}

// A name is known by its folder, as the file system knows that folder
// whatever the path to it, and by itself.
fs::path::string_type placeOf(const fs::path& target) {
    struct stat folder {};
    if (::stat(folderOf(target).c_str(), &folder) != 0) {
        return fs::absolute(target).native();
    }
    return std::to_string(folder.st_dev) + ":" + std::to_string(folder.st_ino) + "/" +
           target.filename().native();
}

OutputLanding landingOf(const OutputPlan& plan) {
    if (!plan.replaced) {
        return {0, 0, placeOf(plan.target)};
    }
    return {plan.replaced->status.st_dev, plan.replaced->status.st_ino, placeOf(plan.target)};
}

OutputPlan planOutput(int inputFd, const fs::path& output) {
    OutputPlan plan{output, followLinks(output), std::nullopt, {}};
    struct stat existing {};
    if (::stat(plan.target.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            FailWith("cannot write " + Quoted(output), errno);
        }
        plan.landing = landingOf(plan);
        return plan;
    }
    RequireRegularFile(output, existing.st_mode);
    struct stat input {};
    if (::fstat(inputFd, &input) == 0 && input.st_dev == existing.st_dev &&
        input.st_ino == existing.st_ino) {
        throw FileError("refusing to write " + Quoted(output) +
                        ": it is the input model itself, which would be lost");
    }
    requireWritable(plan, existing.st_mode);
    plan.replaced = ReplacedFile{existing, {}};
    plan.replaced->attributes = readAttributes(plan);
    plan.landing = landingOf(plan);
    return plan;
}

// Short, and independent of the output's own name, so that any name the file
// system takes can be written.
fs::path temporaryNameIn(const fs::path& folder) {
    static std::mt19937 generator{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".morvane-%08x", static_cast<unsigned>(generator()));
    return folder / name;
}

std::string octal(mode_t mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// The new model while it is written. On Linux it has no name until it is
// complete, so a run that dies leaves nothing behind; where the file system
// cannot make unnamed files it is a hidden file beside the output.
class TemporaryOutput final : public SafeOutput {
public:
    explicit TemporaryOutput(OutputPlan plan) : plan_(std::move(plan)) {
        const fs::path folder = folderOf(plan_.target);
        fd_ = FileDescriptor(
            ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, creationMode()));
        if (!fd_.isOpen()) {
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
                FailWith("cannot write in the folder " + Quoted(folder), errno);
            }
            createNamed();
        }
        takeOwnerOfReplacedFile();
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    int fd() const override { return fd_.get(); }
    bool holdsTemporaryName() const override { return !name_.empty(); }
    fs::path folder() const override { return folderOf(plan_.target); }
    fs::path linkTarget() const override { return plan_.throughLink() ? plan_.target : fs::path(); }
    const OutputLanding& landing() const override { return plan_.landing; }

    void complete() override {
        if (plan_.replaced && !completed_) {
            copyAttributes();
            copyMode();
        }
        completed_ = true;
    }

    void sync() override {
        complete();
        if (::fsync(fd()) != 0) {
            FailWith("cannot write " + Quoted(plan_.output), errno);
        }
    }

    // One sync of the whole file system makes all its files durable at the
    // cost of little more than one of them, where that sync is known to
    // write and report as a file's own sync does: each file's data and
    // metadata, and the failure of any (it reports every writeback failure
    // of the file system since the descriptor was opened, this one's
    // included).
    bool syncFileSystem() const override {
        struct statfs system {};
        if (::fstatfs(fd(), &system) != 0) {
            return false;
        }
        const auto type = static_cast<unsigned long>(system.f_type);
        const bool sound =
            type == kExt4FileSystem || type == kXfsFileSystem || type == kBtrfsFileSystem;
        return sound && ::syncfs(fd()) == 0;
    }

    std::uint64_t fileSystem() const override {
        struct stat status {};
        return ::fstat(fd(), &status) == 0 ? status.st_dev : 0;
    }

    void name() override {
        UninterruptedNaming naming;
        nameInBatch();
        naming.nameGiven();
        syncFolder();
    }

    void nameInBatch() override {
        if (!linkAsNewName()) {
            takeName();
        }
    }

    // Without this the new name may not survive a power loss.
    void syncFolder() const override {
        FileDescriptor folder(
            ::open(folderOf(plan_.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder.isOpen() || ::fsync(folder.get()) != 0) {
            FailWith("wrote " + Quoted(plan_.output) + " but cannot sync its folder", errno);
        }
    }

private:
    // Gives the synced file the output name; durable once its folder is synced.
    // A file without a name must first have one to be renamed: a hidden name
    // it holds, complete and synced, for the fewest steps there can be.
    void takeName() {
        requireTargetAsPlanned();
        if (name_.empty()) {
            linkIntoFolder();
        }
        if (const int error = fd_.close(); error != 0) {
            FailWith("cannot write " + Quoted(plan_.output), error);
        }
        if (::rename(name_.path().c_str(), plan_.target.c_str()) != 0) {
            FailWith("cannot give the new model the name " + Quoted(plan_.output), errno);
        }
        name_.release();
    }

    // A name that is new is made by linking the synced file there at once,
    // which saves the file system a rename and, like the rename, never takes
    // a name that another program made meanwhile. False when there is a file
    // under the name after all, or this one has a temporary name; name()
    // then takes its own way.
    bool linkAsNewName() {
        if (plan_.replaced || !name_.empty()) {
            return false;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd());
        int linked =
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, plan_.target.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT) {
            linked = ::linkat(fd(), "", AT_FDCWD, plan_.target.c_str(), AT_EMPTY_PATH);
        }
        if (linked != 0) {
            if (errno == EEXIST) {
                return false;
            }
            FailWith("cannot give the new model the name " + Quoted(plan_.output), errno);
        }
        if (const int error = fd_.close(); error != 0) {
            ::unlink(plan_.target.c_str());
            FailWith("cannot write " + Quoted(plan_.output), error);
        }
        return true;
    }

    mode_t creationMode() const { return plan_.replaced ? kReplacementMode : kNewFileMode; }

    void createNamed() {
        const EndingSignalsHeldBack heldBack;
        const fs::path name = temporaryNameIn(folderOf(plan_.target));
        fd_ = FileDescriptor(
            ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, creationMode()));
        if (!fd_.isOpen()) {
            FailWith("cannot write in the folder " + Quoted(folderOf(plan_.target)), errno);
        }
        name_.adopt(name);
    }

    // Done before the model is written, so that a replacement the process
    // may not give away is refused at once.
    void takeOwnerOfReplacedFile() {
        if (!plan_.replaced) {
            return;
        }
        const struct stat& old = plan_.replaced->status;
        if (::fchown(fd(), old.st_uid, old.st_gid) != 0) {
            FailWith("cannot replace " + Quoted(plan_.output) +
                         " with a file of the same owner and group (user " +
                         std::to_string(old.st_uid) + ", group " + std::to_string(old.st_gid) + ")",
                     errno);
        }
    }

    void copyAttributes() {
        for (const ExtendedAttribute& attribute : plan_.replaced->attributes) {
            if (::fsetxattr(fd(), attribute.name.c_str(), attribute.value.data(),
                            attribute.value.size(), 0) != 0) {
                FailWith("cannot give the new model the attribute " + QuotedText(attribute.name) +
                             " that " + Quoted(plan_.output) + " has",
                         errno);
            }
        }
    }

    // After the change of owner, which clears the set-ID bits, and after the
    // attributes, since an access control list also sets the mode.
    void copyMode() {
        const mode_t wanted = plan_.replaced->status.st_mode & 07777;
        struct stat made {};
        if (::fchmod(fd(), wanted) != 0 || ::fstat(fd(), &made) != 0) {
            FailWith("cannot give the new model the permissions of " + Quoted(plan_.output), errno);
        }
        if ((made.st_mode & 07777) != wanted) {
            throw FileError("cannot give the new model the permissions of " + Quoted(plan_.output) +
                            ": it has mode " + octal(made.st_mode) + " where " + octal(wanted) +
                            " is wanted");
        }
    }

    void linkIntoFolder() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd());
        const fs::path folder = folderOf(plan_.target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const EndingSignalsHeldBack heldBack;
            const fs::path candidate = temporaryNameIn(folder);
            int linked =
                ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno == ENOENT) {
                linked = ::linkat(fd(), "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
            }
            if (linked == 0) {
                name_.adopt(candidate);
                return;
            }
            if (errno != EEXIST) {
                FailWith("cannot give the new model a name in " + Quoted(folder), errno);
            }
        }
        FailWith("cannot give the new model a name in " + Quoted(folder), EEXIST);
    }

    // Checked again right before the rename, which would otherwise put the
    // model in the place of whatever took the name meanwhile.
    void requireTargetAsPlanned() const {
        struct stat now {};
        if (::lstat(plan_.target.c_str(), &now) != 0) {
            if (errno == ENOENT) {
                return;
            }
            FailWith("cannot write " + Quoted(plan_.output), errno);
        }
        RequireRegularFile(plan_.output, now.st_mode);
        if (!plan_.replaced) {
            throw FileError(Quoted(plan_.output) +
                            " was created by another program while the model was written; it "
                            "was left as it is");
        }
    }

    const OutputPlan plan_;
    FileDescriptor fd_;
    TemporaryName name_;
    bool completed_ = false;
};

}  // namespace

std::optional<OutputLanding> LandingOfFile(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return OutputLanding{status.st_dev, status.st_ino, {}};
}

std::unique_ptr<SafeOutput> OpenSafeOutput(int inputFd, const fs::path& output) {
    return std::make_unique<TemporaryOutput>(planOutput(inputFd, output));
}

namespace {

// Each output waiting for its name holds its new file open; these are kept
// for the model being read, the check before it, and a folder being synced.
constexpr std::size_t kDescriptorsKept = 4;

std::size_t openDescriptors() {
    std::size_t open = 0;
    std::error_code error;
    for (fs::directory_iterator entry("/proc/self/fd", error); !error && entry != fs::end(entry);
         entry.increment(error)) {
        ++open;
    }
    return open;
}

}  // namespace

// The descriptors still free: the process's limit less those open now, the
// standard streams and any it inherited among them.
std::size_t MostOutputsWaitingAtOnce() {
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) {
        return SIZE_MAX;
    }
    const std::size_t used = openDescriptors() + kDescriptorsKept;
    return files.rlim_cur > used ? files.rlim_cur - used : 1;
}

}  // namespace morvane
