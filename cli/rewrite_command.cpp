#include "rewrite_command.h"

#include <deque>
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

std::string summarise(const Job& job, const morvane::WrittenModel& written, int volumes) {
    const morvane::PassSummary& done = written.summary;
    std::string line = "wrote " + morvane::Quoted(job.output);
    if (!written.linkTarget.empty()) {
        line += " (through the link, to " + morvane::Quoted(written.linkTarget) + ")";
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

// What is said of a model before it is rewritten, and whether it is to be.
struct Lookout {
    bool goesOn = true;
    std::string note;  // a warning, or why the model is left out; "" when there is nothing to say
};

// A model that was rewritten before is rewritten all the same, with a
// warning, or left out with a note.
Lookout lookAtCarriedBlock(const Job& job, bool skipRewritten) {
    const std::optional<morvane::CarriedBlock> block = morvane::FindCarriedBlock(job.input);
    if (!block) {
        return {};
    }
    if (skipRewritten) {
        return {false, "left out " + morvane::Quoted(job.input) + ": it " + carriesBlock(*block) +
                           "; " + morvane::Quoted(job.output) + " was not written"};
    }
    return {true, "warning: " + morvane::Quoted(job.input) + " " + carriesBlock(*block) +
                      ": it was rewritten before, and this rewrite adds a second block to every "
                      "PRIM chunk"};
}

// One line on standard error, in one write: in a batch there is one for
// every model.
void tell(const std::string& line) {
    std::cerr << "morvane-cli: " + line + "\n";
}

// Says what became of one model; false when it was not written.
bool report(const Job& job, const std::optional<morvane::WrittenModel>& written,
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
        const morvane::WrittenModel written = morvane::RewriteModelFile(
            job.input, job.output, volumes, trace.stream(), trace.keepsWriting());
        return report(job, written, nullptr, volumes, trace);
    } catch (...) {
        return report(job, std::nullopt, std::current_exception(), volumes, trace);
    }
}

// A batch settles its models a group at a time: what is said of each model
// waits until every model before it has been reported.
class InOrder {
public:
    // A model the batch does not write.
    void leftOut(std::string note) {
        waiting_.push_back({std::move(note), false});
        tellSettled();
    }
    // A model handed to the batch; its note is told with its report.
    void added(std::string note) { waiting_.push_back({std::move(note), true}); }
    // The batch reports the models handed to it in the order they were.
    template <typename Report>
    void reported(Report report) {
        tellSettled();
        if (!waiting_.front().note.empty()) {
            tell(waiting_.front().note);
        }
        waiting_.pop_front();
        report();
        tellSettled();
    }

private:
    struct Model {
        std::string note;
        bool inBatch;
    };

    void tellSettled() {
        while (!waiting_.empty() && !waiting_.front().inBatch) {
            tell(waiting_.front().note);
            waiting_.pop_front();
        }
    }

    std::deque<Model> waiting_;
};

// The models' files are made durable together; each is reported, in order,
// once it is settled.
bool rewriteBatch(const std::vector<Job>& jobs, const Options& options, Trace& trace) {
    bool allWritten = true;
    InOrder order;
    morvane::BatchRewrite batch(options.volumes, trace.stream(), trace.keepsWriting(),
                                [&](const morvane::BatchRewrite::Outcome& outcome) {
                                    order.reported([&] {
                                        allWritten =
                                            report({outcome.input, outcome.output}, outcome.written,
                                                   outcome.failure, options.volumes, trace) &&
                                            allWritten;
                                    });
                                });
    for (const Job& job : jobs) {
        batch.willRead(job.input);
    }
    for (const Job& job : jobs) {
        Lookout lookout = lookAtCarriedBlock(job, options.skipRewritten);
        if (!lookout.goesOn) {
            order.leftOut(std::move(lookout.note));
            continue;
        }
        order.added(std::move(lookout.note));
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
    const Lookout lookout = lookAtCarriedBlock(jobs[0], options.skipRewritten);
    if (!lookout.note.empty()) {
        tell(lookout.note);
    }
    return !lookout.goesOn || rewriteOne(jobs[0], options.volumes, trace);
}
