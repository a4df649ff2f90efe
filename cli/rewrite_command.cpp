#include "rewrite_command.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include "model/batch_rewrite.h"
#include "model/carried_block.h"
#include "model/file_rewrite.h"
#include "model/model_file.h"
#include "model/path_text.h"
#include "standard_output.h"

namespace {

namespace fs = std::filesystem;

struct Job {
    fs::path input;
    fs::path output;
};

std::vector<Job> planJobs(const Options& options) {
    if (options.outputFolder.empty()) {
        return {{morvane::PathFromText(options.paths[0]), morvane::PathFromText(options.paths[1])}};
    }
    std::vector<Job> jobs;
    for (const std::string& input : options.paths) {
        const fs::path path = morvane::PathFromText(input);
        jobs.push_back({path, morvane::PathFromText(options.outputFolder) / path.filename()});
    }
    return jobs;
}

std::string plural(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string summarise(const Job& job, const morvane::PassSummary& done, int volumes) {
    std::string line =
        "wrote " + morvane::Quoted(job.output) + " (" + plural(done.bytesWritten, "byte") +
        "): " + plural(done.chunksCopied, "chunk") + " copied, " +
        plural(done.primsExtended, "PRIM chunk") + " extended with " + plural(volumes, "volume") +
        ", " + plural(done.handsDropped, "HAND chunk") + " dropped";
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
class Trace {
public:
    Trace(bool quiet, StandardOutput& output)
        : silent_(nullptr), output_(quiet ? nullptr : &output) {}

    std::ostream& stream() { return output_ != nullptr ? output_->stream() : silent_; }
    int error() const { return error_; }

    morvane::RewriteProgress keepsWriting() {
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

std::string carriesBlock(const morvane::CarriedBlock& block) {
    return "already carries a block of " + plural(block.volumes, "collision volume") +
           " (in its last PRIM chunk, at offset " + std::to_string(block.primOffset) + ")";
}

// Said once for each model that was rewritten before; true when the model is
// to be rewritten all the same.
bool goesOnWithCarriedBlock(const Job& job, bool skipRewritten) {
    const std::optional<morvane::CarriedBlock> block = morvane::FindCarriedBlock(job.input);
    if (!block) {
        return true;
    }
    if (skipRewritten) {
        std::cerr << "morvane-cli: left out " << morvane::Quoted(job.input) << ": it "
                  << carriesBlock(*block) << "; " << morvane::Quoted(job.output)
                  << " was not written\n";
        return false;
    }
    std::cerr << "morvane-cli: warning: " << morvane::Quoted(job.input) << " "
              << carriesBlock(*block)
              << ": it was rewritten before, and this rewrite adds a second block to every PRIM "
                 "chunk\n";
    return true;
}

// One line on standard error, in one write: in a batch there is one for
// every model.
void tell(const std::string& line) {
    std::cerr << "morvane-cli: " + line + "\n";
}

// Says what became of one model; false when it was not written.
bool report(const Job& job, const std::optional<morvane::PassSummary>& written,
            const std::exception_ptr& failure, int volumes, Trace& trace) {
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
        tell(summarise(job, *written, volumes));
        return true;
    } catch (const morvane::Cancelled&) {
        tell(UnwrittenOutputMessage("the trace", trace.error()) + "; " +
             morvane::Quoted(job.output) + " was left as it was");
        return false;
    } catch (const std::exception& error) {
        trace.flushed();
        tell(error.what());
        return false;
    }
}

bool rewriteOne(const Job& job, int volumes, Trace& trace) {
    try {
        const morvane::PassSummary written = morvane::RewriteModelFile(
            job.input, job.output, volumes, trace.stream(), trace.keepsWriting());
        return report(job, written, nullptr, volumes, trace);
    } catch (...) {
        return report(job, std::nullopt, std::current_exception(), volumes, trace);
    }
}

// The models' files are made durable together; each is reported, in order,
// once it is settled.
bool rewriteBatch(const std::vector<Job>& jobs, const Options& options, Trace& trace) {
    bool allWritten = true;
    morvane::BatchRewrite batch(options.volumes, trace.stream(), trace.keepsWriting(),
                                [&](const morvane::BatchRewrite::Outcome& outcome) {
                                    allWritten =
                                        report({outcome.input, outcome.output}, outcome.written,
                                               outcome.failure, options.volumes, trace) &&
                                        allWritten;
                                });
    for (const Job& job : jobs) {
        if (!goesOnWithCarriedBlock(job, options.skipRewritten)) {
            continue;
        }
        batch.add(job.input, job.output);
        if (trace.error() != 0) {
            break;  // every later model would fail the same way
        }
    }
    batch.finish();
    return allWritten;
}

}  // namespace

bool RewriteModels(const Options& options, StandardOutput& output) {
    Trace trace(options.quiet, output);
    const std::vector<Job> jobs = planJobs(options);
    if (!options.outputFolder.empty()) {
        return rewriteBatch(jobs, options, trace);
    }
    return !goesOnWithCarriedBlock(jobs[0], options.skipRewritten) ||
           rewriteOne(jobs[0], options.volumes, trace);
}
