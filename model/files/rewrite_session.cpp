#include "model/files/rewrite_session.h"

#include <istream>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "model/errors.h"
#include "model/files/descriptor_buffer.h"
#include "model/files/file_errors.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "model/kernel_copy.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// The trace did not arrive where it was to go; the rewrite stops as it
// would for a cancel, but it is a failure.
struct TraceLost {
    std::error_code error;
};

// Lets the input be read only while the caller agrees to go on and the trace
// still arrives.
class ReadGate {
public:
    ReadGate(const RewriteRequest& request, std::int64_t inputBytes)
        : request_(request), inputBytes_(inputBytes) {}

    bool goOn(std::int64_t bytesRead) {
        if (!stopped()) {
            if (request_.progress && !request_.progress(bytesRead, inputBytes_)) {
                cancelled_ = true;
            } else if (request_.trace != nullptr) {
                traceError_ = request_.trace->flush();
            }
        }
        return !stopped();
    }

    // Throws what stopped the reading, if anything did.
    void rethrowStop() const {
        if (cancelled_) {
            throw Cancelled();
        }
        if (traceError_) {
            throw TraceLost{traceError_};
        }
    }

private:
    bool stopped() const { return cancelled_ || traceError_; }

    const RewriteRequest& request_;
    std::int64_t inputBytes_;
    bool cancelled_ = false;
    std::error_code traceError_;
};

// Large payloads move from the model's file to the new one inside the kernel.
class FileToFileCopy final : public KernelCopy {
public:
    FileToFileCopy(InputFileBuf& from, OutputFileBuf& to) : from_(from), to_(to) {}

    std::int64_t copy(std::int64_t count) override { return from_.copyInKernel(to_, count); }

private:
    InputFileBuf& from_;
    OutputFileBuf& to_;
};

// Keeps nothing of what a rewrite writes, but where it stands, so that the
// pass can plan a model in full: walk it to its end and count its bytes.
class PlannedOutput final : public std::streambuf {
protected:
    std::streamsize xsputn(const char_type*, std::streamsize count) override {
        position_ += count;
        return count;
    }
    int_type overflow(int_type c) override {
        position_ += traits_type::eq_int_type(c, traits_type::eof()) ? 0 : 1;
        return traits_type::not_eof(c);
    }
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        position_ = (direction == std::ios_base::beg ? 0 : position_) + offset;
        return pos_type(position_);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

private:
    off_type position_ = 0;
};

PassSummary runPassPlanned(const ModelFile& input, const RewriteRequest& request) {
    ReadGate gate(request, input.size());
    InputFileBuf inputBuf(input.file());
    inputBuf.setReadGate([&gate](std::int64_t position) { return gate.goOn(position); });
    PlannedOutput planned;
    std::istream in(&inputBuf);
    std::ostream out(&planned);
    std::ostream silent(nullptr);
    std::ostream& trace = request.trace != nullptr ? request.trace->stream() : silent;
    try {
        return AddCollisionVolumes(in, out, request.volumes, trace);
    } catch (const ModelError& error) {
        gate.rethrowStop();
        throw NamingFile(input.path(), error);
    } catch (const FileError&) {
        gate.rethrowStop();
        FailReading(input.path(), inputBuf.error());
    }
}

// The folders are made one by one from the first that is missing, as mkdir
// makes them.
void MakeFoldersFor(const fs::path& output) {
    const fs::path folder = output.parent_path();
    if (folder.empty()) {
        return;
    }
    std::optional<sys::FileStatus> found;
    if (sys::SystemCalls().statusOf(folder, true, found) || found) {
        return;
    }
    MakeFoldersFor(folder);
    const std::error_code error = sys::SystemCalls().makeFolder(folder);
    if (error && error != std::errc::file_exists) {
        FailWith("cannot make the folder " + Quoted(folder), error,
                 {FileFault::Role::OutputFolder, folder});
    }
}

// A dry run makes no file, but a folder that is not there, and that nothing
// is to make, would keep the real run from making the output's.
void RequireFolderThere(const fs::path& folder) {
    std::optional<sys::FileStatus> found;
    std::error_code error = sys::SystemCalls().statusOf(folder, true, found);
    if (!error && !found) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (error) {
        FailWith("cannot write in the folder " + Quoted(folder), error,
                 {FileFault::Role::OutputFolder, folder});
    }
}

PassSummary runPass(const ModelFile& input, const SafeOutput& output,
                    const RewriteRequest& request) {
    ReadGate gate(request, input.size());
    InputFileBuf inputBuf(input.file());
    inputBuf.setReadGate([&gate](std::int64_t position) { return gate.goOn(position); });
    OutputFileBuf outputBuf(output.file());
    FileToFileCopy kernelCopy(inputBuf, outputBuf);
    std::istream in(&inputBuf);
    std::ostream out(&outputBuf);
    std::ostream silent(nullptr);
    std::ostream& trace = request.trace != nullptr ? request.trace->stream() : silent;
    try {
        return AddCollisionVolumes(in, out, request.volumes, trace, &kernelCopy);
    } catch (const ModelError& error) {
        gate.rethrowStop();
        throw NamingFile(input.path(), error);
    } catch (const FileError&) {
        gate.rethrowStop();
        if (outputBuf.error()) {
            FailWith(
                "cannot write the model " + Quoted(input.path()) + " to " + Quoted(output.output()),
                outputBuf.error(), {FileFault::Role::Output, output.output()});
        }
        FailReading(input.path(), inputBuf.error());
    }
}

}  // namespace

RewriteSession::RewriteSession(const fs::path& input) {
    outcome_.input = input;
    attempt([&] {
        model_ = std::make_unique<ModelFile>(input);
        outcome_.carriedBlock = model_->carriedBlock();
    });
}

RewriteSession::RewriteSession(RewriteSession&&) noexcept = default;
RewriteSession& RewriteSession::operator=(RewriteSession&&) noexcept = default;
RewriteSession::~RewriteSession() = default;

const RewriteOutcome& RewriteSession::rewrite(const fs::path& output,
                                              const RewriteRequest& request) {
    planOutput(output, request);
    write(request);
    if (dryRun_) {
        settleWritten();
        return outcome_;
    }
    attempt([&] {
        output_->sync();
        // Syncing a large model takes a while; a cancel during it still counts.
        requireGoingOn(request, model_->size());
        output_->takeName();
    });
    settleWritten();
    return outcome_;
}

void RewriteSession::planOutput(const fs::path& output, const RewriteRequest& request) {
    outcome_.output = output;
    if (outcome_.cause == RewriteOutcome::Cause::Memory) {
        outcome_.message = outOfMemoryMessage();
    }
    if (!settled_ && outcome_.carriedBlock &&
        request.rewrittenBefore == RewrittenBefore::LeaveOut) {
        outcome_.status = RewriteOutcome::Status::LeftOut;
        settled_ = true;
        model_.reset();
        return;
    }
    attempt([&] {
        if (request.makeFolders && !request.output.dryRun) {
            MakeFoldersFor(output);
        }
        output_ = std::make_unique<SafeOutput>(model_->file(), output, request.output);
        if (request.output.dryRun && !request.makeFolders) {
            RequireFolderThere(output_->folder());
        }
        outcome_.replaced = output_->replacing();
        outcome_.backup = output_->backup();
    });
    dryRun_ = request.output.dryRun;
}

void RewriteSession::planOutputInto(const fs::path& folder, const RewriteRequest& request) {
    fs::path name = outcome_.input.filename();
    attempt([&] { name = model_->ownName(); });
    planOutput(folder / name, request);
}

const RewriteOutcome& RewriteSession::outcome() const {
    if (std::exchange(messageToRead_, false)) {
        try {
            std::rethrow_exception(outcome_.error);
        } catch (const FileError& failure) {
            outcome_.message = failure.what();
            outcome_.fileFault = failure.fault();
        }
    }
    return outcome_;
}

const OutputLanding* RewriteSession::landing() const {
    return output_ ? &output_->landing() : nullptr;
}

const OutputLanding* RewriteSession::backupLanding() const {
    return output_ && !output_->backup().empty() ? &output_->backupLanding() : nullptr;
}

sys::FileIdentity RewriteSession::inputIdentity() const {
    sys::FileStatus status;
    if (!model_ || sys::SystemCalls().statusOfFile(model_->file(), status)) {
        return {};
    }
    return status.identity;
}

bool RewriteSession::holdsTemporaryName() const {
    return output_ && output_->holdsTemporaryName();
}

fs::path RewriteSession::outputFolder() const {
    return output_ ? output_->folder() : fs::path();
}

// A model that another program emptied and filled again while it was read
// reads to its end without a fault, but what was read is part old and part
// new. A trace or progress that failed at the very end stops it too, before
// anything is named.
void RewriteSession::write(const RewriteRequest& request) {
    const bool started = !settled_;
    attempt([&] {
        outcome_.summary = request.output.dryRun ? runPassPlanned(*model_, request)
                                                 : runPass(*model_, *output_, request);
        model_->requireUnchanged();
        requireGoingOn(request, model_->size());
    });
    // The trace of a refused model, up to the refusal, is handed on all the same.
    if (started && settled_ && request.trace != nullptr) {
        request.trace->flush();
    }
}

// A model only planned has nothing to make durable or name.
void RewriteSession::complete() {
    if (!dryRun_) {
        attempt([&] { output_->complete(); });
    }
}

void RewriteSession::syncInGroup(std::set<std::uint64_t>& synced) {
    if (!dryRun_) {
        attempt([&] { output_->syncInGroup(synced); });
    }
}

void RewriteSession::takeNameInGroup() {
    if (!dryRun_) {
        attempt([&] { output_->takeNameInGroup(); });
    }
}

void RewriteSession::syncFolder() {
    if (!dryRun_) {
        attempt([&] { output_->syncFolder(); });
    }
}

void RewriteSession::refuse(const std::string& message) {
    attempt([&] { throw FileRefused(message); });
}

void RewriteSession::settleWritten() {
    if (settled_) {
        return;
    }
    outcome_.status =
        dryRun_ ? RewriteOutcome::Status::WouldWrite : RewriteOutcome::Status::Written;
    outcome_.linkTarget = output_->linkTarget();
    settled_ = true;
    output_.reset();
    model_.reset();
}

void RewriteSession::requireGoingOn(const RewriteRequest& request, std::int64_t bytesRead) {
    ReadGate gate(request, bytesRead);
    gate.goOn(bytesRead);
    gate.rethrowStop();
}

std::string RewriteSession::outOfMemoryMessage() const {
    std::string message = OutOfMemoryMessage("rewrite", outcome_.input);
    if (!outcome_.output.empty()) {
        message += "; " + Quoted(outcome_.output) + " was left as it was";
    }
    return message;
}

template <typename Step>
void RewriteSession::attempt(Step step) {
    if (settled_) {
        return;
    }
    try {
        step();
    } catch (...) {
        settle(std::current_exception());
    }
}

// The output's temporary file goes with the output; the name keeps what it
// held.
void RewriteSession::settle(std::exception_ptr error) {
    using Status = RewriteOutcome::Status;
    using Cause = RewriteOutcome::Cause;
    settled_ = true;
    output_.reset();
    model_.reset();
    outcome_.error = error;
    try {
        std::rethrow_exception(error);
    } catch (const Cancelled& cancelled) {
        outcome_.status = Status::Cancelled;
        outcome_.message = cancelled.what();
    } catch (const TraceLost& lost) {
        outcome_.status = Status::Failed;
        outcome_.cause = Cause::Trace;
        outcome_.traceError = lost.error;
    } catch (const ModelError& refusal) {
        outcome_.status = Status::Refused;
        outcome_.message = refusal.what();
        outcome_.modelRefusal = refusal;
    } catch (const FileRefused& refusal) {
        outcome_.status = Status::Refused;
        outcome_.message = refusal.what();
        outcome_.fileFault = refusal.fault();
    } catch (const TooManyOpenFiles&) {
        // Nothing of it is read while the program may have no file free: a
        // batch tries such a model again once files are free, and a
        // sanitized build checks every call through it with files of its own.
        outcome_.status = Status::Failed;
        outcome_.cause = Cause::OpenFiles;
        messageToRead_ = true;
    } catch (const std::bad_alloc&) {
        outcome_.status = Status::Failed;
        outcome_.cause = Cause::Memory;
        outcome_.message = outOfMemoryMessage();
    } catch (const FileError& failure) {
        outcome_.status = Status::Failed;
        outcome_.cause = Cause::File;
        outcome_.message = failure.what();
        outcome_.fileFault = failure.fault();
    } catch (const std::exception& failure) {
        outcome_.status = Status::Failed;
        outcome_.cause = Cause::File;
        outcome_.message = failure.what();
    }
}

}  // namespace morvane
