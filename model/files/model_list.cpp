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

namespace {

constexpr std::size_t kRestartEvery = 16;

// Numbers are written seven bits to a character, high bits first set on all
// but the last, so that one format serves narrow and wide names.
template <typename Text>
void appendNumber(Text& text, std::size_t number) {
    std::size_t shift = 0;
    while (shift + 7 < 64 && (number >> (shift + 7)) != 0) {
        shift += 7;
    }
    for (; shift > 0; shift -= 7) {
        text.push_back(static_cast<typename Text::value_type>(0x80 | ((number >> shift) & 0x7F)));
    }
    text.push_back(static_cast<typename Text::value_type>(number & 0x7F));
}

template <typename Text>
std::size_t readNumber(const Text& text, std::size_t& at) {
    std::size_t number = 0;
    for (;;) {
        const auto unit = static_cast<std::size_t>(text[at++]);
        number = (number << 7) | (unit & 0x7F);
        if ((unit & 0x80) == 0) {
            return number;
        }
    }
}

}  // namespace

void ModelList::addFound(const fs::path& model, std::size_t belowAt) {
    const Text& name = model.native();
    std::size_t shared = 0;
    if (count_ % kRestartEvery == 0) {
        restarts_.push_back(static_cast<std::uint32_t>(text_.size()));
    } else {
        const std::size_t most = std::min(name.size(), last_.size());
        while (shared < most && name[shared] == last_[shared]) {
            ++shared;
        }
    }
    appendNumber(text_, shared);
    appendNumber(text_, name.size() - shared);
    appendNumber(text_, belowAt);
    text_.append(name, shared);
    last_ = name;
    ++count_;
}

ModelList::Text ModelList::decode(std::size_t model, std::size_t& belowAt) const {
    std::size_t at = restarts_[model / kRestartEvery];
    Text name;
    for (std::size_t next = model - model % kRestartEvery; next <= model; ++next) {
        const std::size_t shared = readNumber(text_, at);
        const std::size_t rest = readNumber(text_, at);
        belowAt = readNumber(text_, at);
        name.resize(shared);
        name.append(text_, at, rest);
        at += rest;
    }
    return name;
}

fs::path ModelList::path(std::size_t model) const {
    std::size_t belowAt = 0;
    return fs::path(decode(model, belowAt));
}

fs::path ModelList::below(std::size_t model) const {
    std::size_t belowAt = 0;
    return NamesAsRead(fs::path(decode(model, belowAt).substr(belowAt)));
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
