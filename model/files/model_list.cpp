#include "model/files/model_list.h"

#include <algorithm>

#include "model/files/path_text.h"

namespace morvane {

namespace fs = std::filesystem;

// Read as the system reads the name: on Windows "a.zrm." is a.zrm.
bool HasModelFileName(const fs::path& name) {
    const fs::path::string_type extension = NameKey(name).extension().native();
    if (extension.size() != 4 || extension[0] != '.') {
        return false;
    }
    constexpr char kLetters[] = "zrm";
    for (std::size_t i = 0; i < 3; ++i) {
        const auto letter = extension[i + 1];
        if (letter != kLetters[i] && letter != kLetters[i] - ('a' - 'A')) {
            return false;
        }
    }
    return true;
}

void ModelList::add(const fs::path& model) {
    const fs::path::string_type& text = model.native();
    addFound(model, text.size() - model.filename().native().size());
}

void ModelList::addFound(const fs::path& model, std::size_t belowAt) {
    text_ += model.native();
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    belowAt_.push_back(static_cast<std::uint32_t>(belowAt));
}

fs::path ModelList::path(std::size_t model) const {
    const std::size_t start = model == 0 ? 0 : ends_[model - 1];
    return fs::path(text_.substr(start, ends_[model] - start));
}

fs::path ModelList::below(std::size_t model) const {
    const std::size_t start = model == 0 ? 0 : ends_[model - 1];
    return NamesAsRead(
        fs::path(text_.substr(start + belowAt_[model], ends_[model] - start - belowAt_[model])));
}

std::vector<std::string> ModelList::addTree(const fs::path& folder,
                                            const std::optional<sys::FileIdentity>& skipped) {
    std::vector<std::string> problems;
    const fs::path root = folder / "";
    walk(folder, root.native().size(), skipped, problems);
    return problems;
}

// Each folder's names are read and sorted before any of its folders is
// walked, so that only the folders on the way are held at once.
void ModelList::walk(const fs::path& folder, std::size_t belowAt,
                     const std::optional<sys::FileIdentity>& skipped,
                     std::vector<std::string>& problems) {
    std::vector<sys::FolderEntry> entries;
    if (const std::error_code error = sys::SystemCalls().readFolder(folder, entries)) {
        problems.push_back("cannot read the folder " + Quoted(folder) + ": " + error.message());
        return;
    }
    std::ranges::sort(entries, [](const auto& a, const auto& b) {
        return NameKey(a.name).native() < NameKey(b.name).native() ||
               (NameKey(a.name) == NameKey(b.name) && a.name.native() < b.name.native());
    });
    for (const sys::FolderEntry& entry : entries) {
        // A name Windows would read as another is spelled in full; the part
        // below the folder given stays as found.
        const fs::path found = PathOfFound(folder, entry.name);
        const std::size_t foundBelowAt =
            found.native().size() - (folder / entry.name).native().size() + belowAt;
        if (entry.kind == sys::FileKind::Folder) {
            std::optional<sys::FileStatus> status;
            sys::SystemCalls().statusOf(found, false, status);
            if (!skipped || !status || status->identity != *skipped) {
                walk(found, foundBelowAt, skipped, problems);
            }
        } else if (HasModelFileName(entry.name) && entry.kind != sys::FileKind::Folder) {
            std::optional<sys::FileStatus> status;
            if (entry.kind == sys::FileKind::SymbolicLink &&
                (sys::SystemCalls().statusOf(found, true, status) || !status ||
                 status->kind == sys::FileKind::Folder)) {
                continue;
            }
            addFound(found, foundBelowAt);
        }
    }
}

}  // namespace morvane
