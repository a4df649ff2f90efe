#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <system_error>

#include "model/carried_block.h"
#include "model/collision_volumes.h"
#include "model/errors.h"
#include "model/files/safe_output.h"

namespace morvane {

class ModelFile;

// Where a rewrite's trace goes, and whether what was written there arrived.
class TraceTarget {
public:
    virtual std::ostream& stream() = 0;
    // Hands on what was written so far; the system's reason when it did not
    // arrive. A trace that did not arrive stops the rewrite, as a failure.
    virtual std::error_code flush() = 0;

protected:
    ~TraceTarget() = default;
};

// Told how many of the input's bytes have been read as a rewrite goes on, and
// once more just before the new model takes its name; answering false
// cancels the rewrite, leaving the output name as it was.
using RewriteProgress = std::function<bool(std::int64_t bytesRead, std::int64_t inputBytes)>;

// What is done with a model that a rewrite has been through before.
enum class RewrittenBefore { Rewrite, LeaveOut };

// What the caller asks of a rewrite.
struct RewriteRequest {
    int volumes = 1;
    RewrittenBefore rewrittenBefore = RewrittenBefore::Rewrite;
    TraceTarget* trace = nullptr;  // none: no trace
    RewriteProgress progress{};
    OutputOptions output{};  // in place, with a backup, or only planned
    // The output's folder, and those above it, are made where missing.
    bool makeFolders = false;
};

// What became of one model.
struct RewriteOutcome {
    enum class Status {
        Written,
        WouldWrite,  // asked only to plan: read and checked, nothing made
        LeftOut,     // it was rewritten before, and the caller leaves such models out
        Refused,     // the model, or a file named, is not one the rewrite takes
        Cancelled,   // by the user, through the progress
        Failed,      // a file, the system or the trace failed
    };
    // Why it failed: a file or the system, the files the program may have
    // open all taken, too little memory, or a trace that did not arrive.
    enum class Cause { None, File, OpenFiles, Memory, Trace };

    std::filesystem::path input;
    std::filesystem::path output;
    Status status = Status::Written;
    Cause cause = Cause::None;
    std::optional<CarriedBlock> carriedBlock;  // the model was rewritten before
    PassSummary summary;                       // of a model written
    std::filesystem::path linkTarget;          // where an output name that is a link led
    bool replaced = false;                     // an existing file got the new model
    std::filesystem::path backup;              // where the replaced file was kept
    std::string message;                       // why it was refused or failed
    std::error_code traceError;                // why the trace did not arrive
    std::exception_ptr error;                  // what was thrown for it, to rethrow
    // The same as data, for a front end that tells people of it in their own
    // words: the rule of the format the model breaks, or the file's fault.
    std::optional<ModelError> modelRefusal;
    FileFault fileFault;
};

// One model's rewrite, as every front end drives it. Preparing opens the model
// and tells what it is, so that a caller can ask before it picks an output;
// writing rewrites the model that was opened into a temporary file beside the
// output; taking the name makes it the output, durably. On any refusal,
// failure or cancel the session is settled, the output name keeps what it
// held and nothing is left behind; later steps then do nothing.
class RewriteSession {
public:
    // Prepares: opens the model and looks for a block a rewrite left in it.
    explicit RewriteSession(const std::filesystem::path& input);
    RewriteSession(RewriteSession&&) noexcept;
    RewriteSession& operator=(RewriteSession&&) noexcept;
    ~RewriteSession();

    // The block a rewrite left in the model, once prepared.
    const std::optional<CarriedBlock>& blockFound() const { return outcome_.carriedBlock; }
    // Whether nothing more is to be done: written, or settled otherwise.
    bool settled() const { return settled_; }
    const RewriteOutcome& outcome() const;
    // Whether it failed because the program had as many files open as it
    // may: it may work once others are closed.
    bool lackedFiles() const {
        return settled_ && outcome_.cause == RewriteOutcome::Cause::OpenFiles;
    }

    // The whole rewrite of the model into output, for a model on its own.
    const RewriteOutcome& rewrite(const std::filesystem::path& output,
                                  const RewriteRequest& request);

    // The steps of a rewrite, for a batch that makes its models durable
    // together: plans the output (refusing what it must not replace), then
    // writes the new model to its temporary file.
    void planOutput(const std::filesystem::path& output, const RewriteRequest& request);
    // The same for an output in `folder` under the model's own name, as its
    // folder holds it.
    void planOutputInto(const std::filesystem::path& folder, const RewriteRequest& request);
    const OutputLanding* landing() const;
    // Where the replaced file is to be kept, if it is to be.
    const OutputLanding* backupLanding() const;
    // The model's file as the system knows it.
    sys::FileIdentity inputIdentity() const;
    bool holdsTemporaryName() const;
    std::filesystem::path outputFolder() const;
    void write(const RewriteRequest& request);
    void complete();
    void syncInGroup(std::set<std::uint64_t>& synced);
    void takeNameInGroup();
    void syncFolder();
    // Settles the model with a refusal of the caller's own.
    void refuse(const std::string& message);
    // A model named and its folder synced is written; one only planned
    // would be.
    void settleWritten();

private:
    template <typename Step>
    void attempt(Step step);
    void settle(std::exception_ptr error);
    void requireGoingOn(const RewriteRequest& request, std::int64_t bytesRead);
    std::string outOfMemoryMessage() const;

    std::unique_ptr<ModelFile> model_;
    std::unique_ptr<SafeOutput> output_;
    bool dryRun_ = false;
    mutable RewriteOutcome outcome_;
    // The message of a failure for want of files, read only once asked for.
    mutable bool messageToRead_ = false;
    bool settled_ = false;
};

}  // namespace morvane
