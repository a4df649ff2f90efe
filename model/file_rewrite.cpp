#include "file_rewrite.h"

#include <istream>
#include <ostream>

#include "model_file.h"
#include "posix_file.h"
#include "safe_output.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Lets the input be read only while progress agrees to go on.
class ProgressGate {
public:
    ProgressGate(const RewriteProgress& progress, int inputFd)
        : progress_(progress), inputBytes_(FileSize(inputFd)) {}

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
    std::int64_t inputBytes_;
    bool cancelled_ = false;
};

PassSummary runPass(const fs::path& input, int inputFd, const fs::path& output, int outputFd,
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
            FailWith("cannot write " + Quoted(output), outputBuf.error());
        }
        FailReading(input, inputBuf);
    }
}

}  // namespace

PassSummary RewriteModelFile(const fs::path& input, const fs::path& output, int volumes,
                             std::ostream& trace, const RewriteProgress& progress) {
    const FileDescriptor inputFd = OpenModelFile(input);
    SafeOutput safeOutput(inputFd.get(), output);
    ProgressGate gate(progress, inputFd.get());
    const PassSummary summary =
        runPass(input, inputFd.get(), output, safeOutput.fd(), volumes, trace, gate);
    safeOutput.sync();
    // Syncing a large model takes a while; a cancel during it still counts.
    gate.requireNotCancelled();
    safeOutput.name();
    return summary;
}

}  // namespace morvane
