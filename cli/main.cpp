#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "model/file_rewrite.h"
#include "model/format.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

struct Options {
    int volumes = 0;
    std::vector<std::string> paths;
    std::string outputFolder;
    bool quiet = false;
};

struct Job {
    fs::path input;
    fs::path output;
};

CLI::Validator volumeCount() {
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            int count = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, count);
            if (error == std::errc() && stop == end && count >= morvane::zrm::kMinVolumes &&
                count <= morvane::zrm::kMaxVolumes) {
                return {};
            }
            return "the number of collision volumes must be a whole number from 1 to 1000, "
                   "not '" +
                   text + "'";
        },
        "");
}

void describeCommandLine(CLI::App& app, Options& options) {
    app.description(
        "Adds a block of collision volumes to each PRIM chunk of a ZRM model and writes the "
        "rewritten model. The pass's trace goes to standard output; a summary and every error "
        "go to standard error.");
    app.footer(
        "Examples:\n  morvane-cli -n 3 model.zrm model-collide.zrm\n"
        "  morvane-cli -n 3 -d out/ a.zrm b.zrm\n\n"
        "Exit status: 0 when every model was written, 1 when any model was refused or a file "
        "could not be read or written, 2 for a usage error.");
    app.add_option("-n,--volumes", options.volumes, "number of collision volumes, 1 to 1000")
        ->required()
        ->type_name("N")
        ->check(volumeCount());
    app.add_option("-d,--directory", options.outputFolder,
                   "write each INPUT into DIR under its own file name")
        ->type_name("DIR");
    app.add_flag("-q,--quiet", options.quiet, "do not print the trace");
    app.add_option("paths", options.paths, "INPUT OUTPUT, or with -d one or more INPUTs")
        ->required()
        ->type_name("PATH");
    app.set_version_flag("--version", "morvane-cli " MORVANE_VERSION);
}

std::string pathCountProblem(const Options& options) {
    const auto count = options.paths.size();
    if (!options.outputFolder.empty()) {
        return count >= 1 ? "" : "expected one or more inputs after -d DIR";
    }
    if (count == 2) {
        return "";
    }
    return "expected INPUT and OUTPUT, got " + std::to_string(count) +
           (count == 1 ? " path" : " paths") + " (use -d DIR to rewrite several models)";
}

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

int usageError(const std::string& problem) {
    std::cerr << "morvane-cli: " << problem << "\nRun 'morvane-cli --help' for usage.\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CLI::App app{"", "morvane-cli"};
    Options options;
    describeCommandLine(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            return app.exit(error);
        }
        return usageError(error.what());
    }
    if (const std::string problem = pathCountProblem(options); !problem.empty()) {
        return usageError(problem);
    }

    std::ostream silent(nullptr);
    std::ostream& trace = options.quiet ? silent : std::cout;
    bool allWritten = true;
    for (const Job& job : planJobs(options)) {
        allWritten = rewrite(job, options.volumes, trace) && allWritten;
    }
    return allWritten ? 0 : kExitRefused;
}
