#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace morvane {

// Where an output lands: the file it replaces, known by its device and its
// index there, and the place of the name it takes, in the form in which the
// system tells places apart.
struct OutputLanding {
    std::uint64_t device = 0;
    std::uint64_t file = 0;                    // 0 for a name that is new
    std::filesystem::path::string_type place;  // empty where only the file counts
};

// The new model's way to the output name: a temporary file in the output's
// folder while it is written, then the name, so that the name never holds
// anything but what it held before or the whole new model. Each platform
// takes this way with its own means.
class SafeOutput {
public:
    virtual ~SafeOutput() = default;

    // Where the new model is written.
    virtual int fd() const = 0;

    // Gives the finished file what the replaced one had and makes its bytes
    // durable.
    virtual void sync() = 0;

    // Gives the synced file the output name, durably.
    virtual void name() = 0;

    // The same way in the steps of a batch, which makes many models durable
    // together: complete() each, then syncFileSystem() once for each file
    // system, or else sync() each; then nameInBatch() each, and then
    // syncFolder() once for each folder.

    // Gives the finished file what the replaced one had; the first half of sync().
    virtual void complete() = 0;
    // Makes every file written so far on the file system that holds the new
    // file durable at once, this one's completed data and metadata included,
    // where a sync of the whole file system is known to be as sound as each
    // file's own sync; false where it is not known, or when it failed.
    virtual bool syncFileSystem() const = 0;
    // Which file system holds the new file.
    virtual std::uint64_t fileSystem() const = 0;
    // Whether the temporary file has a name of its own, kept for removal on
    // the signals that end a program; only a few such names can be kept
    // track of at once.
    virtual bool holdsTemporaryName() const = 0;
    // Gives the synced file the output name; a name that is new may be made
    // by linking the file there directly, which saves the file system a
    // rename. Durable once syncFolder() has followed.
    virtual void nameInBatch() = 0;
    virtual std::filesystem::path folder() const = 0;
    // The file an output name that is a symbolic link leads to; empty for
    // any other name.
    virtual std::filesystem::path linkTarget() const = 0;
    virtual const OutputLanding& landing() const = 0;
    virtual void syncFolder() const = 0;
};

// The existing file a name leads to, links followed, known by its device and
// index alone; nothing when there is no file there.
std::optional<OutputLanding> LandingOfFile(const std::filesystem::path& file);

// Refuses an output that must not be replaced (the input itself under any
// name, anything but a regular file, a link that leads nowhere), notes what a
// replaced file has that the new one must keep, and makes the temporary file.
std::unique_ptr<SafeOutput> OpenSafeOutput(int inputFd, const std::filesystem::path& output);

// How many outputs may wait for their names at once: each holds its
// temporary file open until then.
std::size_t MostOutputsWaitingAtOnce();

}  // namespace morvane
