#include "model/files/safe_output.h"

#include <cerrno>
#include <charconv>
#include <random>
#include <system_error>

#include "model/errors.h"
#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/remove_on_signal.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Short, and independent of the output's own name, so that any name the file
// system takes can be written.
fs::path temporaryNameIn(const fs::path& folder) {
    static std::mt19937 generator{std::random_device{}()};
    char digits[8];
    const auto number = static_cast<std::uint32_t>(generator());
    const auto end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
    const std::string hex(digits, end);
    return folder / (".morvane-" + std::string(8 - hex.size(), '0') + hex);
}

[[noreturn]] void refuseDanglingLink(const fs::path& output) {
    std::error_code ignored;
    const fs::path destination = fs::read_symlink(output, ignored);
    throw FileError(Quoted(output) + " is a symbolic link to " + Quoted(destination) +
                    ", which does not exist; refusing to replace the link");
}

}  // namespace

SafeOutput::SafeOutput(int inputFd, const fs::path& output) : output_(output) {
    plan(inputFd);
    makeTemporaryFile();
}

SafeOutput::~SafeOutput() = default;

fs::path SafeOutput::FolderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

fs::path SafeOutput::linkTarget() const {
    return throughLink_ ? target_ : fs::path();
}

// An output name that is a symbolic link is written through to the file it
// names. A file that no one may write to was made so on purpose, and the
// rename would replace it all the same.
void SafeOutput::plan(int inputFd) {
    if (!followLink()) {
        refuseDanglingLink(output_);
    }
    const std::optional<FoundFile> existing = findFile(target_, true);
    if (existing) {
        requireModelFile(*existing);
        if (identityOf(inputFd) == std::pair(existing->device, existing->file)) {
            throw FileError("refusing to write " + Quoted(output_) +
                            ": it is the input model itself, which would be lost");
        }
        if (existing->readOnly) {
            throw FileError(Quoted(output_) + " is read-only; make it writable to replace it");
        }
        replaced_ = noteReplaced();
    }
    landing_ = {existing ? existing->device : 0, existing ? existing->file : 0, placeOf(target_)};
}

void SafeOutput::requireModelFile(const FoundFile& found) const {
    if (!found.kind.empty()) {
        RefuseNotAModelFile(output_, found.kind);
    }
}

// Checked again right before the new model takes the name, which would
// otherwise put it in the place of whatever took the name meanwhile.
void SafeOutput::requireTargetAsPlanned() const {
    const std::optional<FoundFile> now = findFile(target_, false);
    if (!now) {
        return;
    }
    requireModelFile(*now);
    if (!replaced_) {
        throw FileError(Quoted(output_) +
                        " was created by another program while the model was written; it was "
                        "left as it is");
    }
}

void SafeOutput::makeHiddenFile() {
    takeHiddenName("cannot write in the folder " + Quoted(folder()),
                   [this](const fs::path& name) { return createExclusive(name); });
}

void SafeOutput::takeHiddenName(const std::string& failure,
                                const std::function<bool(const fs::path&)>& make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const EndingSignalsHeldBack heldBack;
        const fs::path candidate = temporaryNameIn(folder());
        if (make(candidate)) {
            name_.adopt(candidate);
            return;
        }
    }
    FailWith(failure, EEXIST);
}

void SafeOutput::sync() {
    complete();
    flushToDisk();
}

void SafeOutput::syncInGroup(std::set<std::uint64_t>& synced) {
    if (!syncedWithFileSystem(synced)) {
        sync();
    }
}

void SafeOutput::takeName() {
    UninterruptedNaming naming;
    takeNameInGroup();
    naming.nameGiven();
    syncFolder();
}

// A name that is new is taken at once where the system can; one that holds a
// file can only be taken by a rename.
void SafeOutput::takeNameInGroup() {
    if (linkAsNewName()) {
        return;
    }
    requireTargetAsPlanned();
    renameOverTarget();
    name_.release();
}

}  // namespace morvane
