#include "model_sources.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <istream>
#include <optional>
#include <string>

#include "model/files/path_text.h"
#include "model/files/system_calls.h"

namespace morvane::cli {

namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path& path) {
    std::optional<sys::FileStatus> status;
    return !sys::SystemCalls().statusOf(path, true, status) && status &&
           status->kind == sys::FileKind::Folder;
}

// The output folder is never read as input, wherever it lies: a second run
// over the same tree must not find the first run's outputs.
std::optional<sys::FileIdentity> outputFolderOf(const Options& options) {
    if (options.outputFolder.empty()) {
        return std::nullopt;
    }
    std::optional<sys::FileStatus> status;
    if (sys::SystemCalls().statusOf(PathFromText(options.outputFolder), true, status) || !status) {
        return std::nullopt;
    }
    return status->identity;
}

void tell(const std::string& line) {
    std::cerr << "morvane-cli: " + line + "\n";
}

void addModel(ModelList& models, const fs::path& model, const Options& options,
              const std::optional<sys::FileIdentity>& skipped, bool& allFound) {
    if (!options.recursive || !isFolder(model)) {
        models.add(model);
        return;
    }
    for (const std::string& problem : models.addTree(model, skipped)) {
        tell(problem);
        allFound = false;
    }
}

#ifdef _WIN32
constexpr bool kOnWindows = true;
#else
constexpr bool kOnWindows = false;
#endif

// A list written on Windows may begin with a UTF-8 byte-order mark (as
// PowerShell and Notepad write one), and its lines end with a carriage
// return; no Windows name holds either.
void dropWindowsMarks(std::string& name, bool first, bool nullSeparated) {
    if (first && name.starts_with("\xEF\xBB\xBF")) {
        name.erase(0, 3);
    }
    if (!nullSeparated && name.ends_with('\r')) {
        name.pop_back();
    }
}

// Names are taken as written: no wildcard is expanded and "-" is a name.
void addListed(ModelList& models, std::istream& list, const Options& options,
               const std::optional<sys::FileIdentity>& skipped, bool& allFound) {
    const char separator = options.nullSeparated ? '\0' : '\n';
    std::string name;
    for (bool first = true; std::getline(list, name, separator); first = false) {
        if (kOnWindows) {
            dropWindowsMarks(name, first, options.nullSeparated);
        }
        if (!name.empty()) {
            addModel(models, PathFromText(name), options, skipped, allFound);
        }
    }
}

// Says why the list could not be read, or read to its end, from what the
// system said last; the models listed before are still found.
void tellUnread(const std::string& list, bool& allFound) {
    const int error = errno != 0 ? errno : EIO;
    tell("cannot read the list of models " + list + ": " + std::generic_category().message(error));
    allFound = false;
}

}  // namespace

ModelList CollectModels(const Options& options, bool& allFound) {
    allFound = true;
    ModelList models;
    const std::optional<sys::FileIdentity> skipped = outputFolderOf(options);
    for (const std::string& path : options.paths) {
        addModel(models, PathFromText(path), options, skipped, allFound);
    }
    if (!options.filesFrom) {
        return models;
    }
    errno = 0;
    if (*options.filesFrom == "-") {
        addListed(models, std::cin, options, skipped, allFound);
        if (std::cin.bad()) {
            tellUnread("from standard input", allFound);
        }
        return models;
    }
    const std::string shown = QuotedText(*options.filesFrom);
    std::ifstream list(SystemPath(PathFromText(*options.filesFrom)), std::ios::binary);
    if (!list) {
        tellUnread(shown, allFound);
        return models;
    }
    addListed(models, list, options, skipped, allFound);
    if (list.bad()) {
        tellUnread(shown, allFound);
    }
    return models;
}

}  // namespace morvane::cli
