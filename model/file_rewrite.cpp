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

struct ModelRewrite::Steps {
    Steps(const fs::path& inputName, const fs::path& outputName, const RewriteProgress& progress)
        : input(inputName),
          output(outputName),
          inputFd(OpenModelFile(input)),
          inputState(StateOf(input, inputFd.get())),
          safeOutput(OpenSafeOutput(inputFd.get(), output)),
          gate(progress, inputFd.get()) {}

    fs::path input;
    fs::path output;
    FileDescriptor inputFd;
    FileState inputState;  // as it was opened
    std::unique_ptr<SafeOutput> safeOutput;
    ProgressGate gate;
    PassSummary summary;
};

ModelRewrite::ModelRewrite(const fs::path& input, const fs::path& output,
                           const RewriteProgress& progress)
    : steps_(std::make_unique<Steps>(input, output, progress)) {}

const OutputLanding& ModelRewrite::landing() const {
    return steps_->safeOutput->landing();
}

void ModelRewrite::write(int volumes, std::ostream& trace) {
    steps_->summary = runPass(steps_->input, steps_->inputFd.get(), steps_->output,
                              steps_->safeOutput->fd(), volumes, trace, steps_->gate);
    // A model emptied and filled again while it was read reads to its end
    // without a fault, but what was read is part old and part new.
    if (StateOf(steps_->input, steps_->inputFd.get()) != steps_->inputState) {
        RefuseChangedModel(steps_->input);
    }
    steps_->inputFd.close();
}

ModelRewrite::~ModelRewrite() = default;

std::size_t ModelRewrite::MostWaitingAtOnce() {
    return MostOutputsWaitingAtOnce();
}

const PassSummary& ModelRewrite::summary() const {
    return steps_->summary;
}

WrittenModel ModelRewrite::written() const {
    return {steps_->summary, steps_->safeOutput->linkTarget()};
}

fs::path ModelRewrite::folder() const {
    return steps_->safeOutput->folder();
}

bool ModelRewrite::holdsTemporaryName() const {
    return steps_->safeOutput->holdsTemporaryName();
}

void ModelRewrite::complete() {
    steps_->safeOutput->complete();
}

void ModelRewrite::sync() {
    steps_->safeOutput->sync();
}

bool ModelRewrite::syncFileSystem() const {
    return steps_->safeOutput->syncFileSystem();
}

std::uint64_t ModelRewrite::fileSystem() const {
    return steps_->safeOutput->fileSystem();
}

void ModelRewrite::requireNotCancelled() {
    steps_->gate.requireNotCancelled();
}

void ModelRewrite::name() {
    steps_->safeOutput->name();
}

void ModelRewrite::nameInBatch() {
    steps_->safeOutput->nameInBatch();
}

void ModelRewrite::syncFolder() const {
    steps_->safeOutput->syncFolder();
}

WrittenModel RewriteModelFile(const fs::path& input, const fs::path& output, int volumes,
                              std::ostream& trace, const RewriteProgress& progress) {
    ModelRewrite model(input, output, progress);
    model.write(volumes, trace);
    model.sync();
    // Syncing a large model takes a while; a cancel during it still counts.
    model.requireNotCancelled();
    model.name();
    return model.written();
}

}  // namespace morvane
