#include "options.h"

#include <filesystem>
#include <map>
#include <optional>

#include "model/files/model_list.h"
#include "model/files/path_text.h"
#include "model/format.h"
#include "model/volume_count.h"
#include "resources/version.h"
#include "usage.h"

namespace morvane::cli {

namespace {

CLI::Validator isVolumeCount() {
    return CLI::Validator(
        [](const std::string& text) -> std::string {
            if (ParseVolumeCount(text)) {
                return {};
            }
            return "the number of collision volumes must be a whole number from " +
                   zrm::VolumeRange() + ", not " + QuotedText(text);
        },
        "");
}

// An empty value is a slip of the shell (an unset variable), never a request.
CLI::Validator isNotEmpty(const std::string& what) {
    return CLI::Validator(
        [what](const std::string& text) -> std::string {
            return text.empty() ? what + " must not be empty" : std::string();
        },
        "");
}

std::string pathCountProblem(const Options& options) {
    const auto count = options.paths.size();
    if (options.allPathsAreModels()) {
        if (count >= 1 || options.filesFrom) {
            return "";
        }
        return "expected one or more inputs after " + std::string(options.list      ? "--list"
                                                                  : options.inPlace ? "-i"
                                                                                    : "-d DIR");
    }
    if (options.filesFrom) {
        return "--files-from needs -d DIR, -i or --list: its models have no OUTPUT";
    }
    if (count == 2) {
        return "";
    }
    return "expected INPUT and OUTPUT, got " + std::to_string(count) +
           (count == 1 ? " path" : " paths") + " (use -d DIR to rewrite several models)";
}

std::string optionProblem(const Options& options) {
    if (options.recursive && !options.inPlace && options.outputFolder.empty()) {
        return "-r needs -d DIR or -i: a tree of models is rewritten into a folder or in place";
    }
    if (options.inPlace && !options.outputFolder.empty()) {
        return "-i and -d exclude each other: -i writes each model into its own name";
    }
    if (options.backupSuffix && !options.inPlace) {
        return "--backup goes with -i: it keeps each model rewritten in place";
    }
    if (options.nullSeparated && !options.filesFrom) {
        return "-0 goes with --files-from: it says how the list's names are separated";
    }
    if (options.recursive && options.backupSuffix &&
        HasModelFileName(PathFromText("model" + *options.backupSuffix))) {
        return "the backup suffix " + QuotedText(*options.backupSuffix) +
               " ends in .zrm, so that a later -r would take the backups for models";
    }
    return "";
}

// In a batch each model is written under its own file name, so two inputs
// with the same name would write one output over the other.
std::string sharedNameProblem(const Options& options) {
    if (options.list || options.outputFolder.empty() || options.recursive) {
        return "";
    }
    std::map<std::filesystem::path, std::filesystem::path> names;  // by their keys
    for (const std::string& input : options.paths) {
        const std::filesystem::path name = PathFromText(input).filename();
        const auto [first, isNew] = names.emplace(NameKey(name), name);
        if (!isNew) {
            const std::string both =
                first->second == name
                    ? Quoted(name)
                    : Quoted(first->second) + " and " + Quoted(name) + ", which are one name here";
            return "two inputs are named " + both +
                   "; with -d each model is written under its own file name";
        }
    }
    return "";
}

}  // namespace

void DescribeCommandLine(CLI::App& app, Options& options) {
    // The help is our own text, grouped by task; the parser's would list its
    // rules on every line.
    app.formatter_fn(
        [](const CLI::App*, const std::string&, CLI::AppFormatMode) { return FullUsage(); });
    // On Windows the parser would take any word that begins with a slash for
    // an option, while "/models/a.zrm" is a path there too; /? alone is
    // asked for, and becomes --help before parsing.
    app.allow_windows_style_options(false);
    CLI::Option* volumes =
        app.add_option_function<std::string>(
               "-n,--volumes",
               [&options](const std::string& text) { options.volumes = *ParseVolumeCount(text); })
            ->type_name("N")
            ->check(isVolumeCount());
    CLI::Option* folder = app.add_option("-d,--directory", options.outputFolder)
                              ->type_name("DIR")
                              ->check(isNotEmpty("the folder given with -d"));
    CLI::Option* inPlace = app.add_flag("-i,--in-place", options.inPlace);
    CLI::Option* backup = app.add_option("--backup", options.backupSuffix)
                              ->type_name("SUFFIX")
                              ->check(isNotEmpty("the backup suffix"));
    CLI::Option* recursive = app.add_flag("-r,--recursive", options.recursive);
    app.add_option("--files-from", options.filesFrom)
        ->type_name("FILE")
        ->check(isNotEmpty("the list given with --files-from"));
    app.add_flag("-0,--null", options.nullSeparated);
    CLI::Option* dryRun = app.add_flag("--dry-run", options.dryRun);
    CLI::Option* quiet = app.add_flag("-q,--quiet", options.quiet);
    CLI::Option* skip = app.add_flag("--skip-rewritten", options.skipRewritten);
    app.add_flag("--list", options.list)
        ->excludes(volumes)
        ->excludes(folder)
        ->excludes(quiet)
        ->excludes(skip)
        ->excludes(inPlace)
        ->excludes(backup)
        ->excludes(recursive)
        ->excludes(dryRun);
    app.add_flag("--json", options.json);
    app.add_option("paths", options.paths)->type_name("PATH")->check(isNotEmpty("a path"));
    app.set_version_flag("--version", "morvane-cli " MORVANE_VERSION);
}

std::vector<std::string> WithEmptyValuesSpelledOut(const CLI::App& app,
                                                   std::vector<std::string> words) {
    for (std::size_t i = 1; i < words.size() && words[i] != "--"; ++i) {
        if (words[i] == "--backup") {
            words[i] = "--backup=.bak";
            continue;
        }
        if (IsWindowsHelpRequest(words[i])) {
            words[i] = "--help";
            continue;
        }
        if (!words[i].starts_with("--") || !words[i].ends_with("=")) {
            continue;
        }
        const std::string name = words[i].substr(0, words[i].size() - 1);
        const CLI::Option* option = app.get_option_no_throw(name);
        if (option != nullptr && option->get_items_expected_min() > 0) {
            words[i] = name;
            words.insert(words.begin() + static_cast<std::ptrdiff_t>(++i), "");
        }
    }
    return words;
}

void ExpandModelArguments(Options& options) {
    const bool allModels = options.allPathsAreModels();
    std::vector<std::string> expanded;
    for (std::size_t i = 0; i < options.paths.size(); ++i) {
        if (i > 0 && !allModels) {
            expanded.push_back(options.paths[i]);
            continue;
        }
        for (const std::filesystem::path& model :
             ModelsNamedBy(PathFromText(options.paths[i]), options.recursive)) {
            expanded.push_back(TextOf(model));
        }
    }
    options.paths = std::move(expanded);
}

std::string UsageProblem(const CLI::App& app, const Options& options) {
    if (!options.list && app.get_option("--volumes")->count() == 0) {
        return "--volumes is required";
    }
    if (std::string problem = optionProblem(options); !problem.empty()) {
        return problem;
    }
    if (std::string problem = pathCountProblem(options); !problem.empty()) {
        return problem;
    }
    return sharedNameProblem(options);
}

}  // namespace morvane::cli
