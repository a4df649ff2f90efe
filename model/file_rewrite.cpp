#include "file_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include "model_file.h"
#include "posix_file.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Where the new model goes and the permission bits it gets. An output name
// that is a symbolic link is written through to the file it names.
struct OutputPlan {
    fs::path target;
    mode_t mode;
};

OutputPlan planOutput(int inputFd, const fs::path& output) {
    struct stat existing {};
    if (::stat(output.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            FailWith("cannot write " + Quoted(output), errno);
        }
        return {output, static_cast<mode_t>(0666 & ~currentUmask())};
    }
    if (S_ISDIR(existing.st_mode)) {
        throw FileError("cannot write " + Quoted(output) + ": it is a folder");
    }
    struct stat input {};
    if (::fstat(inputFd, &input) == 0 && input.st_dev == existing.st_dev &&
        input.st_ino == existing.st_ino) {
        throw FileError("refusing to write " + Quoted(output) +
                        ": it is the input model itself, which would be lost");
    }
    std::error_code ignored;
    const fs::path resolved = fs::canonical(output, ignored);
    return {resolved.empty() ? output : resolved, static_cast<mode_t>(existing.st_mode & 07777)};
}

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

std::string randomSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(generator()));
    return text;
}

fs::path temporaryNameFor(const fs::path& target) {
    return folderOf(target) / ("." + target.filename().string() + ".morvane-" + randomSuffix());
}

// The new model while it is written. On Linux it has no name until it is
// complete, so a run that dies leaves nothing behind; elsewhere it is a
// hidden file beside the output that is removed on every failure.
class TemporaryOutput {
public:
    explicit TemporaryOutput(const fs::path& target) : target_(target) {
        const fs::path folder = folderOf(target);
        fd_ = FileDescriptor(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (fd_.isOpen()) {
            return;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            FailWith("cannot write in the folder " + Quoted(folder), errno);
        }
        createNamed();
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    ~TemporaryOutput() {
        if (!name_.empty()) {
            ::unlink(name_.c_str());
        }
    }

    int fd() const { return fd_.get(); }

    // Gives the finished file its permissions and makes its bytes durable.
    void sync(mode_t mode) {
        if (::fchmod(fd(), mode) != 0) {
            FailWith("cannot set the permissions of " + Quoted(target_), errno);
        }
        if (::fsync(fd()) != 0) {
            FailWith("cannot write " + Quoted(target_), errno);
        }
    }

    // Gives the synced file the output name, durably.
    void name() {
        if (name_.empty()) {
            linkIntoFolder();
        }
        if (const int error = fd_.close(); error != 0) {
            FailWith("cannot write " + Quoted(target_), error);
        }
        if (::rename(name_.c_str(), target_.c_str()) != 0) {
            FailWith("cannot give the new model the name " + Quoted(target_), errno);
        }
        name_.clear();
        syncFolder();
    }

private:
    void createNamed() {
        name_ = temporaryNameFor(target_);
        fd_ = FileDescriptor(::open(name_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600));
        if (!fd_.isOpen()) {
            const int error = errno;
            name_.clear();
            FailWith("cannot write in the folder " + Quoted(folderOf(target_)), error);
        }
    }

    void linkIntoFolder() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = temporaryNameFor(target_);
            int linked =
                ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
            if (linked != 0 && errno == ENOENT) {
                linked = ::linkat(fd(), "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
            }
            if (linked == 0) {
                name_ = candidate;
                return;
            }
            if (errno != EEXIST) {
                FailWith("cannot give the new model a name in " + Quoted(folderOf(target_)), errno);
            }
        }
        FailWith("cannot give the new model a name in " + Quoted(folderOf(target_)), EEXIST);
    }

    // Without this the new name may not survive a power loss.
    void syncFolder() {
        FileDescriptor folder(
            ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder.isOpen() || ::fsync(folder.get()) != 0) {
            FailWith("wrote " + Quoted(target_) + " but cannot sync its folder", errno);
        }
    }

    fs::path target_;
    FileDescriptor fd_;
    fs::path name_;
};

// Lets the input be read only while progress agrees to go on.
class ProgressGate {
public:
    ProgressGate(const RewriteProgress& progress, int inputFd) : progress_(progress) {
        struct stat status {};
        inputBytes_ = ::fstat(inputFd, &status) == 0 ? status.st_size : 0;
    }

    bool goOn(std::int64_t bytesRead) {
        if (progress_ && !cancelled_ && !progress_(bytesRead, inputBytes_)) {
            cancelled_ = true;
        }
        return !cancelled_;
    }

    void requireNotCancelled() {
        if (!goOn(inputBytes_)) {
            throw Cancelled();
        }
    }

    bool cancelled() const { return cancelled_; }

private:
    const RewriteProgress& progress_;
    std::int64_t inputBytes_ = 0;
    bool cancelled_ = false;
};

PassSummary runPass(const fs::path& input, int inputFd, const OutputPlan& plan, int outputFd,
                    int volumes, std::ostream& trace, ProgressGate& gate) {
    InputFileBuf inputBuf(inputFd);
    inputBuf.setReadGate([&gate](off_t position) { return gate.goOn(position); });
    OutputFileBuf outputBuf(outputFd);
    std::istream in(&inputBuf);
    std::ostream out(&outputBuf);
    try {
        return AddCollisionVolumes(in, out, volumes, trace);
    } catch (const ModelError& error) {
        if (gate.cancelled()) {
            throw Cancelled();
        }
        throw NamingFile(input, error);
    } catch (const FileError&) {
        if (gate.cancelled()) {
            throw Cancelled();
        }
        if (outputBuf.error() != 0) {
            FailWith("cannot write " + Quoted(plan.target), outputBuf.error());
        }
        FailReading(input, inputBuf);
    }
}

}  // namespace

PassSummary RewriteModelFile(const fs::path& input, const fs::path& output, int volumes,
                             std::ostream& trace, const RewriteProgress& progress) {
    const FileDescriptor inputFd = OpenModelFile(input);
    const OutputPlan plan = planOutput(inputFd.get(), output);
    TemporaryOutput temporary(plan.target);
    ProgressGate gate(progress, inputFd.get());
    const PassSummary summary =
        runPass(input, inputFd.get(), plan, temporary.fd(), volumes, trace, gate);
    temporary.sync(plan.mode);
    // Syncing a large model takes a while; a cancel during it still counts.
    gate.requireNotCancelled();
    temporary.name();
    return summary;
}

}  // namespace morvane
