#include "rewrite_command.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>

#include "model/files/batch_rewrite.h"
#include "model/files/file_errors.h"
#include "model/files/file_rewrite.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "standard_output.h"

namespace morvane::cli {

namespace {

namespace fs = std::filesystem;

struct Job {
    fs::path input;
    fs::path output;
};

std::string plural(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string summarise(const Job& job, const WrittenModel& written, int volumes) {
    const PassSummary& done = written.summary;
    std::string line = "wrote " + Quoted(job.output);
    if (!written.linkTarget.empty()) {
        line += " (through the link, to " + Quoted(written.linkTarget) + ")";
    }
    line += " (" + plural(done.bytesWritten, "byte") + "): " + plural(done.chunksCopied, "chunk") +
            " copied, " + plural(done.primsExtended, "PRIM chunk") + " extended with " +
            plural(volumes, "volume") + ", " + plural(done.handsDropped, "HAND chunk") + " dropped";
    if (done.unrecognisedBytes > 0) {
        line +=
            ", " + plural(done.unrecognisedBytes, "byte") + " of unrecognised words passed over";
    }
    if (done.trailingBytes > 0) {
        line += ", " + plural(done.trailingBytes, "trailing byte") + " dropped";
    }
    return line;
}

// The trace is part of what was asked for: when it cannot be written, the
// rewrite stops before the output is named and the output is left as it was.
class TraceOutput {
public:
    TraceOutput(bool quiet, StandardOutput& output)
        : silent_(nullptr), output_(quiet ? nullptr : &output) {}

    std::ostream& stream() { return output_ != nullptr ? output_->stream() : silent_; }
    int error() const { return error_; }

    RewriteProgress keepsWriting() {
        if (output_ == nullptr) {
            return {};
        }
        return [this](std::int64_t, std::int64_t) { return flushed(); };
    }

    bool flushed() {
        if (output_ != nullptr && error_ == 0) {
            error_ = output_->flushError();
        }
        return error_ == 0;
    }

private:
    std::ostream silent_;
    StandardOutput* output_;
    int error_ = 0;
};

std::string carriesBlock(const CarriedBlock& block) {
    return "already carries a block of " + plural(block.volumes, "collision volume") +
           " (in its last PRIM chunk, at offset " + std::to_string(block.primOffset) + ")";
}

// One line on standard error, in one write: in a batch there is one for
// every model.
void tell(const std::string& line) {
    std::cerr << "morvane-cli: " + line + "\n";
}

using Outcome = BatchRewrite::Outcome;

// A model that was rewritten before is rewritten all the same, with a
// warning, or left out with a note.
void tellOfCarriedBlock(const Outcome& outcome) {
    if (!outcome.carriedBlock) {
        return;
    }
    const std::string carries = carriesBlock(*outcome.carriedBlock);
    if (outcome.leftOut) {
        tell("left out " + Quoted(outcome.input) + ": it " + carries + "; " +
             Quoted(outcome.output) + " was not written");
    } else {
        tell("warning: " + Quoted(outcome.input) + " " + carries +
             ": it was rewritten before, and this rewrite adds a second block to every PRIM "
             "chunk");
    }
}

// Says what became of one model; false when it was refused or failed.
bool tellResult(const Outcome& outcome, int volumes, TraceOutput& trace) {
    if (outcome.leftOut) {
        return true;
    }
    try {
        if (outcome.failure) {
            std::rethrow_exception(outcome.failure);
        }
        tell(summarise({outcome.input, outcome.output}, *outcome.written, volumes));
        return true;
    } catch (const Cancelled&) {
        tell(UnwrittenOutputMessage("the trace", trace.error()) + "; " + Quoted(outcome.output) +
             " was left as it was");
        return false;
    } catch (const std::bad_alloc&) {
        tell(OutOfMemoryMessage("rewrite", outcome.input) + "; " + Quoted(outcome.output) +
             " was left as it was");
        return false;
    } catch (const std::exception& error) {
        trace.flushed();
        tell(error.what());
        return false;
    }
}

// The check for a carried block reads the very file that is rewritten; its
// warning comes before the rewrite.
bool rewriteOne(const Job& job, const Options& options, TraceOutput& trace) {
    Outcome outcome{job.input, job.output};
    try {
        ModelFile input(job.input);
        outcome.carriedBlock = input.carriedBlock();
        outcome.leftOut = outcome.carriedBlock && options.skipRewritten;
        tellOfCarriedBlock(outcome);
        if (!outcome.leftOut) {
            outcome.written = RewriteModelFile(std::move(input), job.output, options.volumes,
                                               trace.stream(), trace.keepsWriting());
        }
    } catch (...) {
        outcome.failure = std::current_exception();
    }
    return tellResult(outcome, options.volumes, trace);
}

// The models' files are made durable together; each is reported, in order,
// once it is settled. Each is written under its own name, which the batch
// learns from the opened model.
bool rewriteBatch(const Options& options, TraceOutput& trace) {
    bool allWritten = true;
    BatchRewrite batch(options.volumes,
                       options.skipRewritten ? BatchRewrite::RewrittenBefore::LeaveOut
                                             : BatchRewrite::RewrittenBefore::Rewrite,
                       trace.stream(), trace.keepsWriting(), [&](const Outcome& outcome) {
                           tellOfCarriedBlock(outcome);
                           allWritten = tellResult(outcome, options.volumes, trace) && allWritten;
                       });
    for (const std::string& input : options.paths) {
        batch.willRead(PathFromText(input));
    }
    for (const std::string& input : options.paths) {
        batch.addInto(PathFromText(input), PathFromText(options.outputFolder));
        if (trace.error() != 0) {
            break;  // every later model would fail the same way
        }
    }
    batch.finish();
    return allWritten;
}

}  // namespace

bool RewriteModels(const Options& options, StandardOutput& output) {
    TraceOutput trace(options.quiet, output);
    if (!options.outputFolder.empty()) {
        return rewriteBatch(options, trace);
    }
    return rewriteOne({PathFromText(options.paths[0]), PathFromText(options.paths[1])}, options,
                      trace);
}

}  // namespace morvane::cli
