#include "model/files/file_rewrite.h"

#include <istream>
#include <ostream>

#include "model/files/descriptor_buffer.h"
#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/kernel_copy.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Lets the input be read only while progress agrees to go on.
class ProgressGate {
public:
    ProgressGate(const RewriteProgress& progress, std::int64_t inputBytes)
        : progress_(progress), inputBytes_(inputBytes) {}

    bool goOn(std::int64_t bytesRead) {
        if (progress_ && !cancelled_ && !progress_(bytesRead, inputBytes_)) {
            cancelled_ = true;
        }
        return !cancelled_;
    }

    bool cancelled() const { return cancelled_; }

private:
    const RewriteProgress& progress_;
    std::int64_t inputBytes_;
    bool cancelled_ = false;
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

PassSummary runPass(const fs::path& input, int inputFd, const fs::path& output, int outputFd,
                    int volumes, std::ostream& trace, ProgressGate& gate) {
    InputFileBuf inputBuf(inputFd);
    inputBuf.setReadGate([&gate](off_t position) { return gate.goOn(position); });
    OutputFileBuf outputBuf(outputFd);
    FileToFileCopy kernelCopy(inputBuf, outputBuf);
    std::istream in(&inputBuf);
    std::ostream out(&outputBuf);
    try {
        return AddCollisionVolumes(in, out, volumes, trace, &kernelCopy);
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
            FailWith("cannot write the model " + Quoted(input) + " to " + Quoted(output),
                     outputBuf.error());
        }
        FailReading(input, inputBuf);
    }
}

}  // namespace

PassSummary WriteNewModel(ModelFile& input, SafeOutput& output, int volumes, std::ostream& trace,
                          const RewriteProgress& progress) {
    ProgressGate gate(progress, input.size());
    const PassSummary summary =
        runPass(input.path(), input.fd(), output.output(), output.fd(), volumes, trace, gate);
    // A model emptied and filled again while it was read reads to its end
    // without a fault, but what was read is part old and part new.
    input.requireUnchanged();
    return summary;
}

void RequireGoingOn(const RewriteProgress& progress, const ModelFile& input) {
    if (progress && !progress(input.size(), input.size())) {
        throw Cancelled();
    }
}

WrittenModel RewriteModelFile(ModelFile input, const fs::path& output, int volumes,
                              std::ostream& trace, const RewriteProgress& progress) {
    SafeOutput safeOutput(input.fd(), output);
    const PassSummary summary = WriteNewModel(input, safeOutput, volumes, trace, progress);
    safeOutput.sync();
    // Syncing a large model takes a while; a cancel during it still counts.
    RequireGoingOn(progress, input);
    safeOutput.takeName();
    return {summary, safeOutput.linkTarget()};
}

}  // namespace morvane
