#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// What the command line asks for.
struct Options {
    int volumes = 0;
    std::vector<std::string> paths;
    std::string outputFolder;
    bool quiet = false;
    bool skipRewritten = false;
    bool list = false;
    bool json = false;
    bool recursive = false;
    bool inPlace = false;
    std::optional<std::string> backupSuffix;
    std::optional<std::string> filesFrom;  // "-" for standard input
    bool nullSeparated = false;
    bool dryRun = false;

    // Whether the paths are all models, as with -d, -i or --list, rather
    // than INPUT and OUTPUT.
    bool allPathsAreModels() const { return list || inPlace || !outputFolder.empty(); }
};

void DescribeCommandLine(CLI::App& app, Options& options);

// The words to parse: "--directory=" would hand the parser no value, and it
// would take the next word instead, so such an empty value becomes a word of
// its own, to be refused as `-d ""` is; and --backup without a suffix, which
// never takes the next word as one, is --backup=.bak; on Windows /? is
// --help.
std::vector<std::string> WithEmptyValuesSpelledOut(const CLI::App& app,
                                                   std::vector<std::string> words);

// The models that the model arguments name, in place of the arguments (with
// -r, the folders a wildcard matches too, to be walked); see ModelsNamedBy.
void ExpandModelArguments(Options& options);

// What is wrong with a command line that parsed, or "" when nothing is.
std::string UsageProblem(const CLI::App& app, const Options& options);

}  // namespace morvane::cli
