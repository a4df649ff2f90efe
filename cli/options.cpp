#include "options.h"

#include <filesystem>
#include <map>
#include <optional>

#include "model/files/path_text.h"
#include "model/format.h"
#include "model/volume_count.h"
#include "resources/version.h"

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
    if (options.list || !options.outputFolder.empty()) {
        return count >= 1 ? ""
                          : "expected one or more inputs after " +
                                std::string(options.list ? "--list" : "-d DIR");
    }
    if (count == 2) {
        return "";
    }
    return "expected INPUT and OUTPUT, got " + std::to_string(count) +
           (count == 1 ? " path" : " paths") + " (use -d DIR to rewrite several models)";
}

// In a batch each model is written under its own file name, so two inputs
// with the same name would write one output over the other.
std::string sharedNameProblem(const Options& options) {
    if (options.list || options.outputFolder.empty()) {
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
    app.description(
        "Adds a block of collision volumes to each PRIM chunk of a ZRM model and writes the "
        "rewritten model. The pass's trace goes to standard output; a summary and every error "
        "go to standard error.");
    app.footer(
        "Examples:\n  morvane-cli -n 3 model.zrm model-collide.zrm\n"
        "  morvane-cli -n 3 -d out/ a.zrm b.zrm\n"
        "  morvane-cli -n 3 -d out/ --skip-rewritten *.zrm\n"
        "  morvane-cli --list model.zrm\n\n"
        "A model that already carries a block of collision volumes (it was rewritten before) is "
        "rewritten with a warning, or left out with --skip-rewritten.\n\n"
        "Exit status: 0 when every model was written, listed or left out, 1 when any model was "
        "refused or a file could not be read or written, 2 for a usage error.");
    CLI::Option* volumes =
        app.add_option_function<std::string>(
               "-n,--volumes",
               [&options](const std::string& text) { options.volumes = *ParseVolumeCount(text); },
               "number of collision volumes, " + zrm::VolumeRange())
            ->type_name("N")
            ->check(isVolumeCount());
    CLI::Option* folder = app.add_option("-d,--directory", options.outputFolder,
                                         "write each INPUT into DIR under its own file name")
                              ->type_name("DIR")
                              ->check(isNotEmpty("the folder given with -d"));
    CLI::Option* quiet = app.add_flag("-q,--quiet", options.quiet, "do not print the trace");
    CLI::Option* skip = app.add_flag(
        "--skip-rewritten", options.skipRewritten,
        "leave out, with a note, each model that already carries a block of collision volumes");
    CLI::Option* list =
        app.add_flag("--list", options.list,
                     "list the chunks of each model as the rewrite would meet them, and write "
                     "nothing")
            ->excludes(volumes)
            ->excludes(folder)
            ->excludes(quiet)
            ->excludes(skip);
    app.add_flag("--json", options.json, "with --list, print the listing as JSON")->needs(list);
    app.add_option("paths", options.paths, "INPUT OUTPUT, or with -d or --list one or more INPUTs")
        ->type_name("PATH")
        ->check(isNotEmpty("a path"));
    app.set_version_flag("--version", "morvane-cli " MORVANE_VERSION);
}

std::vector<std::string> WithEmptyValuesSpelledOut(const CLI::App& app,
                                                   std::vector<std::string> words) {
    for (std::size_t i = 1; i < words.size() && words[i] != "--"; ++i) {
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
    const bool allModels = options.list || !options.outputFolder.empty();
    std::vector<std::string> expanded;
    for (std::size_t i = 0; i < options.paths.size(); ++i) {
        if (i > 0 && !allModels) {
            expanded.push_back(options.paths[i]);
            continue;
        }
        for (const std::filesystem::path& model : ModelsNamedBy(PathFromText(options.paths[i]))) {
            expanded.push_back(TextOf(model));
        }
    }
    options.paths = std::move(expanded);
}

std::string UsageProblem(const CLI::App& app, const Options& options) {
    if (!options.list && app.get_option("--volumes")->count() == 0) {
        return "--volumes is required";
    }
    if (std::string problem = pathCountProblem(options); !problem.empty()) {
        return problem;
    }
    return sharedNameProblem(options);
}

}  // namespace morvane::cli
