#include <CLI/CLI.hpp>

#include <iostream>
#include <new>

#include "list_command.h"
#include "options.h"
#include "rewrite_command.h"
#include "startup/program_arguments.h"
#include "startup/standard_streams.h"
#include "usage.h"

namespace {

namespace cli = morvane::cli;

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

int usageError(const std::string& problem) {
    std::cerr << "morvane-cli: " << problem << "\nRun 'morvane-cli --help' for usage.\n";
    return kExitUsage;
}

int run(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CLI::App app{"", "morvane-cli"};
    cli::Options options;
    cli::DescribeCommandLine(app, options);
    std::vector<std::string> arguments =
        cli::WithEmptyValuesSpelledOut(app, morvane::ProgramArguments(argc, argv));
    if (arguments.size() <= 1) {
        std::cerr << cli::ShortUsage();
        return kExitUsage;
    }
    std::vector<char*> words;
    for (std::string& argument : arguments) {
        words.push_back(argument.data());
    }
    try {
        app.parse(static_cast<int>(words.size()), words.data());
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            return app.exit(error);
        }
        return usageError(error.what());
    }
    cli::ExpandModelArguments(options);
    if (const std::string problem = cli::UsageProblem(app, options); !problem.empty()) {
        return usageError(problem);
    }
    cli::StandardOutput output;
    const bool done =
        options.list ? cli::ListModels(options, output) : cli::RewriteModels(options, output);
    return done ? 0 : kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::EnsureStandardStreamsOpen()) {
        return kExitRefused;
    }
    // Each model's rewrite or listing reports its own want of memory; this
    // is what is left when the tool itself has too little to start.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "morvane-cli: out of memory\n";
        return kExitRefused;
    }
}
