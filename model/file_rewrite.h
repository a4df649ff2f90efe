#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>

#include "collision_volumes.h"
#include "safe_output.h"

namespace morvane {

// Rewrites the model file at input into the file at output, safely: the input
// is only read; an output that is the input under any name is refused, and so
// is anything but a regular file on either side, or a symbolic link that leads
// nowhere; the new model is written to an unnamed temporary file in the
// output's folder, synced, and only then given the output name, so on any
// refusal or failure the output name keeps whatever it held before. A replaced
// file's owner, group, mode and extended attributes (access control lists
// among them) carry over, or the rewrite is refused. Throws ModelError,
// FileError or std::invalid_argument (count outside 1..1000); every message
// names the file it is about.
//
// progress, when given, is told how many of the input's bytes have been read
// as the rewrite goes on, and once more before the output is named; answering
// false cancels the rewrite, which then throws Cancelled and leaves the output
// name untouched.
using RewriteProgress = std::function<bool(std::int64_t bytesRead, std::int64_t inputBytes)>;

// What a rewrite wrote, and where an output name that is a symbolic link led.
struct WrittenModel {
    PassSummary summary;
    std::filesystem::path linkTarget;  // empty when the output name is no link
};

WrittenModel RewriteModelFile(const std::filesystem::path& input,
                              const std::filesystem::path& output, int volumes,
                              std::ostream& trace = std::cout,
                              const RewriteProgress& progress = {});

// The steps of RewriteModelFile, for a caller that takes them for many models
// at once. Until name() has succeeded the output name is untouched, and a
// model dropped before then leaves nothing behind. progress must outlive it.
class ModelRewrite {
public:
    // Opens the input and the temporary file for the new model.
    ModelRewrite(const std::filesystem::path& input, const std::filesystem::path& output,
                 const RewriteProgress& progress);
    ModelRewrite(const ModelRewrite&) = delete;
    ModelRewrite& operator=(const ModelRewrite&) = delete;
    ~ModelRewrite();

    // How many may wait for their names at once.
    static std::size_t MostWaitingAtOnce();

    // Where the new model is to take its name.
    const OutputLanding& landing() const;
    // Reads the input and writes the new model to the temporary file.
    void write(int volumes, std::ostream& trace);

    const PassSummary& summary() const;
    WrittenModel written() const;
    // The folder the new model is named in.
    std::filesystem::path folder() const;
    // Whether the temporary file has a name of its own (on a file system
    // that cannot make unnamed files), removed on the signals that end a
    // program; only a few such names can be kept track of at once.
    bool holdsTemporaryName() const;

    // Gives the new model what a replaced file had.
    void complete();
    // Completes the new model and makes it durable.
    void sync();
    // Makes every file written so far on the file system that holds the new
    // model durable at once, this one's completed data and metadata included,
    // where a sync of the whole file system is known to be as sound as each
    // file's own sync; false where it is not known, or when it failed.
    bool syncFileSystem() const;
    // Which file system holds the new model.
    std::uint64_t fileSystem() const;
    // Throws Cancelled when progress no longer agrees to go on.
    void requireNotCancelled();
    // Gives the synced model the output name, durably.
    void name();
    // Gives the synced model the output name; a name that is new is made by
    // linking the model there directly, which saves the file system a rename.
    // Durable once syncFolder() has followed.
    void nameInBatch();
    // Makes the names given in the folder durable.
    void syncFolder() const;

private:
    struct Steps;
    std::unique_ptr<Steps> steps_;
};

}  // namespace morvane
