#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace morvane {

// The new model's way to the output name: a temporary file in the output's
// folder while it is written, then the name, so that the name never holds
// anything but what it held before or the whole new model. Each platform
// takes this way with its own means.
class SafeOutput {
public:
    // Refuses an output that must not be replaced (the input itself under any
    // name, anything but a regular file, a link that leads nowhere), notes
    // what a replaced file has that the new one must keep, and makes the
    // temporary file.
    SafeOutput(int inputFd, const std::filesystem::path& output);
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // Where the new model is written.
    int fd() const;

    // Gives the finished file what the replaced one had and makes its bytes
    // durable.
    void sync();

    // Gives the synced file the output name, durably.
    void name();

    // The same way in the steps of a batch, which makes many models durable
    // together: complete() each, then syncFileSystem() once for each file
    // system, or else sync() each; then nameInBatch() each, and then
    // syncFolder() once for each folder.

    // How many may wait for their names at once: each holds its temporary
    // file open until then.
    static std::size_t MostWaitingAtOnce();

    // Gives the finished file what the replaced one had; the first half of sync().
    void complete();
    // Makes every file written so far on the file system that holds the new
    // file durable at once, this one's completed data and metadata included,
    // where a sync of the whole file system is known to be as sound as each
    // file's own sync; false where it is not known, or when it failed.
    bool syncFileSystem() const;
    // Which file system holds the new file.
    std::uint64_t fileSystem() const;
    // Whether the temporary file has a name of its own, kept for removal on
    // the signals that end a program; only a few such names can be kept
    // track of at once.
    bool holdsTemporaryName() const;
    // Gives the synced file the output name; a name that is new is made by
    // linking the file there directly, which saves the file system a rename.
    // Durable once syncFolder() has followed.
    void nameInBatch();
    std::filesystem::path folder() const;
    void syncFolder() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace morvane
