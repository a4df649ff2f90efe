#include "model/files/safe_output.h"

#include <charconv>
#include <cstdio>
#include <random>
#include <system_error>
#include <utility>

#include "model/errors.h"
#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/remove_on_signal.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Each output waiting for its name holds its new file open; these are kept
// for the model being read, the check before it, and a folder being synced.
constexpr std::size_t kFilesKept = 4;

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

fs::path folderOf(const fs::path& name) {
    return name.has_parent_path() ? name.parent_path() : fs::path(".");
}

std::string octal(std::uint32_t mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

sys::Calls& calls() {
    return sys::SystemCalls();
}

using Role = FileFault::Role;
using Refusal = FileFault::Refusal;
using Step = FileFault::Step;

FileFault ofOutput(const fs::path& output, Step step = Step::Other) {
    return {Role::Output, output, step};
}

FileFault ofFolder(const fs::path& folder) {
    return {Role::OutputFolder, folder};
}

}  // namespace

SafeOutput::SafeOutput(sys::File input, const fs::path& output, const OutputOptions& options)
    : output_(output), options_(options) {
    plan(input);
    if (!options_.dryRun) {
        makeTemporaryFile();
    }
}

SafeOutput::~SafeOutput() = default;

fs::path SafeOutput::linkTarget() const {
    return throughLink_ ? target_ : fs::path();
}

fs::path SafeOutput::folder() const {
    return folderOf(target_);
}

// An output name that is a symbolic link is written through to the file it
// names. A file that no one may write to was made so on purpose, and the
// rename would replace it all the same.
void SafeOutput::plan(sys::File input) {
    if (IsReservedDeviceName(output_)) {
        RefuseNotAModelFile(output_, sys::FileKind::Device, Role::Output);
    }
    sys::FollowedName followed;
    if (const std::error_code error = calls().followLinks(output_, followed)) {
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
    refuseLinkNotFollowed(followed);
    target_ = followed.target;
    throughLink_ = followed.throughLink;
    std::optional<sys::FileStatus> existing;
    if (const std::error_code error = calls().statusOf(target_, true, existing)) {
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
    if (existing) {
        requireModelFile(*existing);
        sys::FileStatus read;
        if (!options_.inPlace && !calls().statusOfFile(input, read) &&
            read.identity == existing->identity) {
            throw FileRefused("refusing to write " + Quoted(output_) +
                                  ": it is the input model itself, which would be lost",
                              Role::Output, output_, Refusal::InputItself);
        }
        if (existing->readOnly) {
            throw FileRefused(Quoted(output_) + " is read-only; make it writable to replace it",
                              Role::Output, output_, Refusal::ReadOnly);
        }
        noteReplaced(*existing);
    }
    landing_ = {existing ? existing->identity : sys::FileIdentity{}, calls().placeOf(target_)};
    if (options_.backupSuffix && existing) {
        planBackup();
    }
}

// The backup takes a name beside the file it keeps, replacing whatever
// model file held it; anything else there is left alone.
void SafeOutput::planBackup() {
    backup_ = target_;
    backup_ += *options_.backupSuffix;
    std::optional<sys::FileStatus> existing;
    if (const std::error_code error = calls().statusOf(backup_, false, existing)) {
        FailWith("cannot keep a backup as " + Quoted(backup_), error, ofOutput(backup_));
    }
    if (existing && existing->kind != sys::FileKind::Regular) {
        throw FileRefused(
            "refusing to keep the backup of " + Quoted(output_) + " as " + Quoted(backup_) +
                ": it is " + DescribeFileKind(existing->kind),
            Role::Output, backup_,
            existing->kind == sys::FileKind::Folder ? Refusal::Folder : Refusal::NotAFile);
    }
    backupLanding_ = {existing ? existing->identity : sys::FileIdentity{},
                      calls().placeOf(backup_)};
}

void SafeOutput::refuseLinkNotFollowed(const sys::FollowedName& followed) const {
    if (followed.planted) {
        const sys::PlantedLink& planted = *followed.planted;
        throw FileRefused("refusing to write through " + Quoted(planted.link) +
                              ": it is a symbolic link that another user (user " +
                              std::to_string(planted.owner) + ") made in " +
                              Quoted(planted.folder) + ", a folder that everyone may write to",
                          Role::Output, planted.link, Refusal::PlantedLink);
    }
    if (followed.dangling) {
        throw FileRefused(Quoted(output_) + " is a symbolic link to " + Quoted(*followed.dangling) +
                              ", which does not exist; refusing to replace the link",
                          Role::Output, output_, Refusal::DanglingLink);
    }
}

void SafeOutput::requireModelFile(const sys::FileStatus& found) const {
    if (found.kind != sys::FileKind::Regular) {
        RefuseNotAModelFile(output_, found.kind, Role::Output);
    }
}

void SafeOutput::noteReplaced(const sys::FileStatus& found) {
    replaced_ = found;
    const std::string failure = "cannot read the attributes of " + Quoted(output_);
    std::vector<std::string> names;
    if (const std::error_code error = calls().attributeNames(target_, names)) {
        FailWith(failure, error, ofOutput(output_, Step::KeepAttributes));
    }
    for (const std::string& name : names) {
        sys::Attribute attribute{name, {}};
        if (const std::error_code error = calls().attributeValue(target_, name, attribute.value)) {
            FailWith("cannot read the attribute " + QuotedText(name) + " of " + Quoted(output_),
                     error, ofOutput(output_, Step::KeepAttributes));
        }
        keptAttributes_.push_back(std::move(attribute));
    }
}

// Checked again right before the new model takes the name, which would
// otherwise put it in the place of whatever took the name meanwhile.
void SafeOutput::requireTargetAsPlanned() const {
    std::optional<sys::FileStatus> now;
    if (const std::error_code error = calls().statusOf(target_, false, now)) {
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
    if (!now) {
        return;
    }
    requireModelFile(*now);
    if (!replaced_) {
        throw FileRefused(Quoted(output_) +
                              " was created by another program while the model was written; it "
                              "was left as it is",
                          Role::Output, output_, Refusal::CreatedMeanwhile);
    }
}

// The new model has no name until it is complete where the file system can
// make such a file, so that a run that dies leaves nothing behind; elsewhere
// it is a hidden file beside the output. A replacement the process may not
// give away is refused before anything is written.
void SafeOutput::makeTemporaryFile() {
    sys::File made = sys::kNoFile;
    const std::error_code error = calls().createUnnamed(folder(), replacing(), made);
    file_ = FileDescriptor(made);
    if (error == std::errc::not_supported) {
        takeHiddenName(
            name_, "cannot write in the folder " + Quoted(folder()), [this](const fs::path& name) {
                sys::File named = sys::kNoFile;
                const std::error_code failed = calls().createNamed(name, replacing(), named);
                file_ = FileDescriptor(named);
                return failed;
            });
    } else if (error) {
        FailWith("cannot write in the folder " + Quoted(folder()), error, ofFolder(folder()));
    }
    giveOwner();
}

void SafeOutput::giveOwner() {
    if (!replaced_ || !replaced_->owner) {
        return;
    }
    const auto [user, group] = *replaced_->owner;
    if (const std::error_code error = calls().giveOwner(file(), user, group)) {
        FailWith("cannot replace " + Quoted(output_) +
                     " with a file of the same owner and group (user " + std::to_string(user) +
                     ", group " + std::to_string(group) + ")",
                 error, ofOutput(output_, Step::GiveOwner));
    }
}

template <typename Make>
void SafeOutput::takeHiddenName(TemporaryName& name, const std::string& failure, Make make) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const EndingSignalsHeldBack heldBack;
        const fs::path candidate = temporaryNameIn(folder());
        const std::error_code error = make(candidate);
        if (!error) {
            name.adopt(candidate);
            return;
        }
        if (error != std::errc::file_exists) {
            FailWith(failure, error, ofFolder(folder()));
        }
    }
    FailWith(failure, std::make_error_code(std::errc::file_exists), ofFolder(folder()));
}

// The mode comes after the change of owner, which clears the set-ID bits,
// and after the attributes, since an access control list also sets the mode.
void SafeOutput::complete() {
    if (!replaced_ || std::exchange(completed_, true)) {
        return;
    }
    for (const sys::Attribute& attribute : keptAttributes_) {
        if (const std::error_code error = calls().giveAttribute(file(), attribute)) {
            FailWith("cannot give the new model the attribute " + QuotedText(attribute.name) +
                         " that " + Quoted(output_) + " has",
                     error, ofOutput(output_, Step::KeepAttributes));
        }
    }
    const std::uint32_t wanted = replaced_->mode;
    std::uint32_t given = 0;
    if (const std::error_code error = calls().giveMode(file(), wanted, given)) {
        FailWith("cannot give the new model the permissions of " + Quoted(output_), error,
                 ofOutput(output_, Step::KeepAttributes));
    }
    if (given != wanted) {
        throw FileError("cannot give the new model the permissions of " + Quoted(output_) +
                            ": it has mode " + octal(given) + " where " + octal(wanted) +
                            " is wanted",
                        ofOutput(output_, Step::KeepAttributes));
    }
}

void SafeOutput::sync() {
    complete();
    if (const std::error_code error = calls().syncFile(file())) {
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
}

// One sync of the whole file system makes all its files durable at the cost
// of little more than one of them; should it fail, each file is synced on its
// own and reports its own failure.
void SafeOutput::syncInGroup(std::set<std::uint64_t>& synced) {
    const std::optional<std::uint64_t> fileSystem = calls().soundlySyncedFileSystem(file());
    if (fileSystem && synced.contains(*fileSystem)) {
        return;
    }
    if (fileSystem && !calls().syncFileSystem(file())) {
        synced.insert(*fileSystem);
        return;
    }
    sync();
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
    if (!backup_.empty()) {
        keepReplacedAsBackup();
    }
    renameOverTarget();
    name_.release();
}

// The replaced file gets a second, hidden name, which then takes the
// backup's name: at every moment the output name holds the old model or the
// new one, and the backup's name an older backup or this one. Where the
// backup's name is already another name of the replaced file, the move
// leaves both names as they are, and the hidden one goes with `kept`.
void SafeOutput::keepReplacedAsBackup() {
    const std::string failure =
        "cannot keep the model " + Quoted(output_) + " replaced as " + Quoted(backup_);
    TemporaryName kept;
    takeHiddenName(kept, failure,
                   [this](const fs::path& name) { return calls().linkName(target_, name); });
    if (const std::error_code error = calls().moveName(kept.path(), backup_)) {
        FailWith(failure, error, ofFolder(folder()));
    }
}

// Linking the synced file there at once saves the file system a rename and,
// like the rename, never takes a name that another program made meanwhile.
bool SafeOutput::linkAsNewName() {
    if (replaced_ || !name_.empty()) {
        return false;
    }
    if (const std::error_code error = calls().linkUnnamed(file(), target_)) {
        if (error == std::errc::file_exists || error == std::errc::not_supported) {
            return false;
        }
        FailWith("cannot give the new model the name " + Quoted(output_), error, ofOutput(output_));
    }
    if (const std::error_code error = file_.close()) {
        calls().remove(target_);
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
    return true;
}

// Only a file with a name can be renamed: a file without one holds a hidden
// name, complete and synced, for the fewest steps there can be.
void SafeOutput::renameOverTarget() {
    if (name_.empty()) {
        takeHiddenName(name_, "cannot give the new model a name in " + Quoted(folder()),
                       [this](const fs::path& name) { return calls().linkUnnamed(file(), name); });
    }
    if (const std::error_code error = file_.close()) {
        FailWith("cannot write " + Quoted(output_), error, ofOutput(output_));
    }
    if (const std::error_code error = calls().rename(name_.path(), target_)) {
        FailWith("cannot give the new model the name " + Quoted(output_), error, ofOutput(output_));
    }
}

// Without this the new name may not survive a power loss.
void SafeOutput::syncFolder() const {
    if (const std::error_code error = calls().syncFolder(folder())) {
        FailWith("wrote " + Quoted(output_) + " but cannot sync its folder", error,
                 ofOutput(output_, Step::SyncFolder));
    }
}

std::size_t SafeOutput::MostWaitingAtOnce() {
    const std::size_t free = calls().filesStillFree();
    return free == SIZE_MAX ? SIZE_MAX : free > kFilesKept ? free - kFilesKept : 1;
}

std::optional<OutputLanding> LandingOfFile(const fs::path& file) {
    std::optional<sys::FileStatus> status;
    if (calls().statusOf(file, true, status) || !status) {
        return std::nullopt;
    }
    return OutputLanding{status->identity, {}};
}

}  // namespace morvane
