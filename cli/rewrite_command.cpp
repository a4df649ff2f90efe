#include "rewrite_command.h"

#include <filesystem>
#include <iostream>

#include "model/files/batch_rewrite.h"
#include "model/files/path_text.h"
#include "model/files/rewrite_session.h"
#include "standard_output.h"

namespace morvane::cli {

namespace {

namespace fs = std::filesystem;

std::string plural(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string summarise(const RewriteOutcome& written, int volumes) {
    const PassSummary& done = written.summary;
    std::string line = "wrote " + Quoted(written.output);
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
class TraceOutput final : public TraceTarget {
public:
    explicit TraceOutput(StandardOutput& output) : output_(output) {}

    std::ostream& stream() override { return output_.stream(); }

    std::error_code flush() override {
        if (!error_) {
            error_ = output_.flushError();
        }
        return error_;
    }

    bool lost() const { return static_cast<bool>(error_); }

private:
    StandardOutput& output_;
    std::error_code error_;
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

void warnOfSecondBlock(const std::filesystem::path& input, const CarriedBlock& block) {
    tell("warning: " + Quoted(input) + " " + carriesBlock(block) +
         ": it was rewritten before, and this rewrite adds a second block to every PRIM chunk");
}

// Says what became of one model, with the note or warning for a model that
// was rewritten before; false when it was not written and should have been.
bool tellResult(const RewriteOutcome& outcome, int volumes, bool warned) {
    using Status = RewriteOutcome::Status;
    if (outcome.carriedBlock && outcome.status == Status::LeftOut) {
        tell("left out " + Quoted(outcome.input) + ": it " + carriesBlock(*outcome.carriedBlock) +
             "; " + Quoted(outcome.output) + " was not written");
        return true;
    }
    if (outcome.carriedBlock && !warned) {
        warnOfSecondBlock(outcome.input, *outcome.carriedBlock);
    }
    if (outcome.status == Status::Written) {
        tell(summarise(outcome, volumes));
        return true;
    }
    if (outcome.cause == RewriteOutcome::Cause::Trace) {
        tell(UnwrittenOutputMessage("the trace", outcome.traceError) + "; " +
             Quoted(outcome.output) + " was left as it was");
    } else {
        tell(outcome.message);
    }
    return false;
}

RewriteRequest requestOf(const Options& options, TraceOutput* trace) {
    return {options.volumes,
            options.skipRewritten ? RewrittenBefore::LeaveOut : RewrittenBefore::Rewrite,
            trace,
            {}};
}

// The check for a carried block reads the very file that is rewritten; its
// warning comes before the rewrite.
bool rewriteOne(const fs::path& input, const fs::path& output, const Options& options,
                TraceOutput* trace) {
    RewriteSession session(input);
    const RewriteRequest request = requestOf(options, trace);
    const bool warned = session.blockFound() && !options.skipRewritten;
    if (warned) {
        warnOfSecondBlock(input, *session.blockFound());
    }
    return tellResult(session.rewrite(output, request), options.volumes, warned);
}

// The models' files are made durable together; each is reported, in order,
// once it is settled. Each is written under its own name, which the batch
// learns from the opened model.
bool rewriteBatch(const Options& options, TraceOutput* trace) {
    bool allWritten = true;
    BatchRewrite batch(requestOf(options, trace), [&](const RewriteOutcome& outcome) {
        allWritten = tellResult(outcome, options.volumes, false) && allWritten;
    });
    for (const std::string& input : options.paths) {
        batch.willRead(PathFromText(input));
    }
    for (const std::string& input : options.paths) {
        batch.addInto(PathFromText(input), PathFromText(options.outputFolder));
        if (trace != nullptr && trace->lost()) {
            break;  // every later model would fail the same way
        }
    }
    batch.finish();
    return allWritten;
}

}  // namespace

bool RewriteModels(const Options& options, StandardOutput& output) {
    TraceOutput trace(output);
    TraceOutput* const traced = options.quiet ? nullptr : &trace;
    if (!options.outputFolder.empty()) {
        return rewriteBatch(options, traced);
    }
    return rewriteOne(PathFromText(options.paths[0]), PathFromText(options.paths[1]), options,
                      traced);
}

}  // namespace morvane::cli
