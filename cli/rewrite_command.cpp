#include "rewrite_command.h"

#include <filesystem>
#include <iostream>

#include "model/file_rewrite.h"

namespace {

namespace fs = std::filesystem;

struct Job {
    fs::path input;
    fs::path output;
};

std::vector<Job> planJobs(const Options& options) {
    if (options.outputFolder.empty()) {
        return {{options.paths[0], options.paths[1]}};
    }
    std::vector<Job> jobs;
    for (const std::string& input : options.paths) {
        jobs.push_back({input, fs::path(options.outputFolder) / fs::path(input).filename()});
    }
    return jobs;
}

std::string plural(std::int64_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string summarise(const Job& job, const morvane::PassSummary& done, int volumes) {
    std::string line = "wrote '" + job.output.string() + "' (" + plural(done.bytesWritten, "byte") +
                       "): " + plural(done.chunksCopied, "chunk") + " copied, " +
                       plural(done.primsExtended, "PRIM chunk") + " extended with " +
                       plural(volumes, "volume") + ", " + plural(done.handsDropped, "HAND chunk") +
                       " dropped";
    if (done.unrecognisedBytes > 0) {
        line +=
            ", " + plural(done.unrecognisedBytes, "byte") + " of unrecognised words passed over";
    }
    if (done.trailingBytes > 0) {
        line += ", " + plural(done.trailingBytes, "trailing byte") + " dropped";
    }
    return line;
}

bool rewrite(const Job& job, int volumes, std::ostream& trace) {
    try {
        const morvane::PassSummary done =
            morvane::RewriteModelFile(job.input, job.output, volumes, trace);
        trace.flush();
        std::cerr << "morvane-cli: " << summarise(job, done, volumes) << '\n';
        return true;
    } catch (const std::exception& error) {
        trace.flush();
        std::cerr << "morvane-cli: " << error.what() << '\n';
        return false;
    }
}

}  // namespace

bool RewriteModels(const Options& options) {
    std::ostream silent(nullptr);
    std::ostream& trace = options.quiet ? silent : std::cout;
    bool allWritten = true;
    for (const Job& job : planJobs(options)) {
        allWritten = rewrite(job, options.volumes, trace) && allWritten;
    }
    return allWritten;
}
