#include "rewrite_command.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

#include "model/batch_rewrite.h"
#include "model/file_rewrite.h"
#include "model/model_file.h"
#include "standard_output.h"

namespace {

namespace fs = std::filesystem;

std::string plural(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string summarise(const fs::path& output, const morvane::PassSummary& done, int volumes) {
    std::string line =
        "wrote " + morvane::Quoted(output) + " (" + plural(done.bytesWritten, "byte") +
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

// One line on standard error, in one write: in a batch there is one for
// every model.
void tell(const std::string& line) {
    std::cerr << "morvane-cli: " + line + "\n";
}

// Says what became of one model; false when it was not written.
bool report(const fs::path& output, const std::optional<morvane::PassSummary>& written,
            const std::exception_ptr& failure, int volumes, Trace& trace) {
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
        tell(summarise(output, *written, volumes));
        return true;
    } catch (const morvane::Cancelled&) {
        tell(UnwrittenOutputMessage("the trace", trace.error()) + "; " + morvane::Quoted(output) +
             " was left as it was");
        return false;
    } catch (const std::exception& error) {
        trace.flushed();
        tell(error.what());
        return false;
    }
}

bool rewriteOne(const Options& options, Trace& trace) {
    const fs::path output = options.paths[1];
    try {
        const morvane::PassSummary written = morvane::RewriteModelFile(
            options.paths[0], output, options.volumes, trace.stream(), trace.keepsWriting());
        return report(output, written, nullptr, options.volumes, trace);
    } catch (...) {
        return report(output, std::nullopt, std::current_exception(), options.volumes, trace);
    }
}

// The models' files are made durable together; each is reported, in order,
// once it is settled.
bool rewriteBatch(const Options& options, Trace& trace) {
    bool allWritten = true;
    morvane::BatchRewrite batch(options.volumes, trace.stream(), trace.keepsWriting(),
                                [&](const morvane::BatchRewrite::Outcome& outcome) {
                                    allWritten = report(outcome.output, outcome.written,
                                                        outcome.failure, options.volumes, trace) &&
                                                 allWritten;
                                });
    for (const std::string& input : options.paths) {
        batch.add(input, fs::path(options.outputFolder) / fs::path(input).filename());
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
    return options.outputFolder.empty() ? rewriteOne(options, trace) : rewriteBatch(options, trace);
}
