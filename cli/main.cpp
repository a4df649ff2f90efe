#include <signal.h>
#include <CLI/CLI.hpp>

#include <iostream>

#include "list_command.h"
#include "model/standard_streams.h"
#include "options.h"
#include "rewrite_command.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

int usageError(const std::string& problem) {
    std::cerr << "morvane-cli: " << problem << "\nRun 'morvane-cli --help' for usage.\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::EnsureStandardStreamsOpen()) {
        return kExitRefused;
    }
    // A reader that goes away (`| head`) is a write error to report, not a
    // silent death outside the documented exit statuses.
    ::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    CLI::App app{"", "morvane-cli"};
    Options options;
    DescribeCommandLine(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            return app.exit(error);
        }
        return usageError(error.what());
    }
    if (const std::string problem = UsageProblem(app, options); !problem.empty()) {
        return usageError(problem);
    }
    StandardOutput output;
    const bool done = options.list ? ListModels(options, output) : RewriteModels(options, output);
    return done ? 0 : kExitRefused;
}
