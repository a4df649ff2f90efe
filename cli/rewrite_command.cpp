#include "rewrite_command.h"

#include <filesystem>
#include <iostream>

#include "json_text.h"
#include "model/files/batch_rewrite.h"
#include "model/files/path_text.h"
#include "model/files/rewrite_session.h"
#include "model_sources.h"
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
    if (!written.backup.empty()) {
        line += "; the model as it was is kept as " + Quoted(written.backup);
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

std::string secondBlockWarning(const fs::path& input, const CarriedBlock& block) {
    return "warning: " + Quoted(input) + " " + carriesBlock(block) +
           ": it was rewritten before, and this rewrite adds a second block to every PRIM chunk";
}

std::string wouldWrite(const RewriteOutcome& planned) {
    std::string line = "would write " + Quoted(planned.output);
    if (!planned.linkTarget.empty()) {
        line += " (through the link, to " + Quoted(planned.linkTarget) + ")";
    }
    line += " (" + plural(planned.summary.bytesWritten, "byte") + ")";
    if (planned.replaced) {
        line += ", replacing a file";
    }
    if (!planned.backup.empty()) {
        line += ", and keep the model as it was as " + Quoted(planned.backup);
    }
    return line;
}

// What standard error says of one model once it is settled, its note or
// warning first; the line for a model written or planned is a summary,
// which --json -q leaves out.
struct Told {
    std::string warning;
    std::string line;
    bool summary = false;
};

Told toldOf(const RewriteOutcome& outcome, const Options& options) {
    using Status = RewriteOutcome::Status;
    const std::string would = options.dryRun ? "would " : "";
    Told told;
    if (outcome.carriedBlock && outcome.status == Status::LeftOut) {
        told.line = (options.dryRun ? "would leave out " : "left out ") + Quoted(outcome.input) +
                    ": it " + carriesBlock(*outcome.carriedBlock) + "; " + Quoted(outcome.output) +
                    (options.dryRun ? " would not be written" : " was not written");
        told.summary = true;
        return told;
    }
    if (outcome.carriedBlock) {
        told.warning = secondBlockWarning(outcome.input, *outcome.carriedBlock);
    }
    switch (outcome.status) {
        case Status::Written:
            told.line = summarise(outcome, options.volumes);
            told.summary = true;
            break;
        case Status::WouldWrite:
            told.line = wouldWrite(outcome);
            told.summary = true;
            break;
        case Status::Refused:
            told.line = (options.dryRun ? "would refuse: " : "") + outcome.message;
            break;
        default:
            told.line = outcome.cause == RewriteOutcome::Cause::Trace
                            ? UnwrittenOutputMessage("the trace", outcome.traceError) + "; " +
                                  Quoted(outcome.output) + " was left as it was"
                            : (options.dryRun ? "would fail: " : "") + outcome.message;
            break;
    }
    return told;
}

bool succeeded(const RewriteOutcome& outcome) {
    using Status = RewriteOutcome::Status;
    return outcome.status == Status::Written || outcome.status == Status::WouldWrite ||
           outcome.status == Status::LeftOut;
}

std::string statusName(RewriteOutcome::Status status) {
    switch (status) {
        case RewriteOutcome::Status::Written:
            return "written";
        case RewriteOutcome::Status::WouldWrite:
            return "would-write";
        case RewriteOutcome::Status::LeftOut:
            return "left-out";
        case RewriteOutcome::Status::Refused:
            return "refused";
        case RewriteOutcome::Status::Cancelled:
        case RewriteOutcome::Status::Failed:
            break;
    }
    return "failed";
}

Json pathOrNull(const fs::path& path) {
    return path.empty() ? Json(nullptr) : Json(TextOf(path));
}

// One line of JSON for the model; names that are not UTF-8 are kept valid
// as the listing keeps them.
std::string jsonLine(const RewriteOutcome& outcome, const Told& told, const Options& options) {
    const bool written = outcome.status == RewriteOutcome::Status::Written ||
                         outcome.status == RewriteOutcome::Status::WouldWrite;
    const bool leftOut = outcome.status == RewriteOutcome::Status::LeftOut;
    Json line = {{"input", TextOf(outcome.input)},
                 {"output", leftOut ? Json(nullptr) : pathOrNull(outcome.output)},
                 {"status", statusName(outcome.status)},
                 {"message", told.summary ? Json(nullptr) : Json(told.line)},
                 {"bytes", written ? Json(outcome.summary.bytesWritten) : Json(nullptr)},
                 {"prim_chunks", written ? Json(outcome.summary.primsExtended) : Json(nullptr)},
                 {"volumes", options.volumes},
                 {"replaced", written && outcome.replaced},
                 {"backup", written ? pathOrNull(outcome.backup) : Json(nullptr)}};
    return JsonText(line) + "\n";
}

// Says what became of one model; false when it was refused or failed.
class Reporter {
public:
    Reporter(const Options& options, StandardOutput& output) : options_(options), output_(output) {}

    bool report(const RewriteOutcome& outcome, bool warned) {
        const Told told = toldOf(outcome, options_);
        if (!told.warning.empty() && !warned) {
            tell(told.warning);
        }
        if (!told.summary || !options_.json || !options_.quiet) {
            tell(told.line);
        }
        if (options_.json) {
            output_.stream() << jsonLine(outcome, told, options_);
            jsonLost_ = jsonLost_ || !output_.stillWritten("the results");
        }
        return succeeded(outcome) && !jsonLost_;
    }

    // Once standard output is lost, every later model would be lost too.
    bool lost() const { return jsonLost_; }

private:
    const Options& options_;
    StandardOutput& output_;
    bool jsonLost_ = false;
};

RewriteRequest requestOf(const Options& options, TraceOutput* trace) {
    RewriteRequest request;
    request.volumes = options.volumes;
    request.rewrittenBefore = options.skipRewritten || options.inPlace ? RewrittenBefore::LeaveOut
                                                                       : RewrittenBefore::Rewrite;
    request.trace = trace;
    request.output = {options.inPlace, options.backupSuffix, options.dryRun};
    request.makeFolders = options.recursive;
    return request;
}

// The check for a carried block reads the very file that is rewritten; its
// warning comes before the rewrite.
bool rewriteOne(const fs::path& input, const fs::path& output, const Options& options,
                TraceOutput* trace, Reporter& reporter) {
    RewriteSession session(input);
    const RewriteRequest request = requestOf(options, trace);
    const bool warned = session.blockFound() && !options.skipRewritten;
    if (warned) {
        tell(secondBlockWarning(input, *session.blockFound()));
    }
    return reporter.report(session.rewrite(output, request), warned);
}

// Each model goes where the options send it: into its own name, into the
// folder under its own name, or, found under a folder given with -r, into
// the same place below the output folder.
void addToBatch(BatchRewrite& batch, const ModelList& models, std::size_t model,
                const Options& options) {
    const fs::path input = models.path(model);
    if (options.inPlace) {
        batch.add(input, input);
        return;
    }
    const fs::path folder = PathFromText(options.outputFolder);
    const fs::path below = models.below(model);
    if (below.has_parent_path()) {
        batch.add(input, folder / below);
    } else {
        batch.addInto(input, folder);
    }
}

// The models' files are made durable together; each is reported, in order,
// once it is settled.
bool rewriteBatch(const ModelList& models, const Options& options, TraceOutput* trace,
                  Reporter& reporter) {
    bool allWritten = true;
    BatchRewrite batch(requestOf(options, trace), [&](const RewriteOutcome& outcome) {
        allWritten = reporter.report(outcome, false) && allWritten;
    });
    batch.willRead(models);
    for (std::size_t model = 0; model < models.size(); ++model) {
        addToBatch(batch, models, model, options);
        if ((trace != nullptr && trace->lost()) || reporter.lost()) {
            break;  // every later model would fail the same way
        }
    }
    batch.finish();
    return allWritten;
}

}  // namespace

bool RewriteModels(const Options& options, StandardOutput& output) {
    TraceOutput trace(output);
    TraceOutput* const traced = options.quiet || options.json || options.dryRun ? nullptr : &trace;
    Reporter reporter(options, output);
    if (!options.allPathsAreModels()) {
        return rewriteOne(PathFromText(options.paths[0]), PathFromText(options.paths[1]), options,
                          traced, reporter);
    }
    bool allFound = true;
    const ModelList models = CollectModels(options, allFound);
    return rewriteBatch(models, options, traced, reporter) && allFound;
}

}  // namespace morvane::cli
