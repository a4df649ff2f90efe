#include "plain_words.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "file_chooser.h"
#include "model/files/path_text.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

using Role = FileFault::Role;
using Refusal = FileFault::Refusal;
using Step = FileFault::Step;

// A quota reached is a full disk to the one who reached it; not every system
// has quotas.
#ifdef EDQUOT
constexpr int kQuotaReached = EDQUOT;
#else
constexpr int kQuotaReached = ENOSPC;
#endif

// What happened, and what to do where there is something to do.
struct Words {
    std::string headline;
    std::string advice;
};

PlainMessage Told(const Words& words, std::string details) {
    const std::string text =
        words.advice.empty() ? words.headline : words.headline + "\n" + words.advice;
    return {text, std::move(details)};
}

std::string Named(std::string_view text, const std::filesystem::path& path) {
    return Substitute(text, {DisplayText(path)});
}

Words NotSaved() {
    return {Tr("Messages", "The model could not be saved."), {}};
}

Words TooManyFilesOpen() {
    return {Tr("Messages", "Too many files are open at the moment."),
            Tr("Messages", "Close some other programs, then try again.")};
}

Words OutOfMemory() {
    return {Tr("Messages", "There is not enough memory to save the model."),
            Tr("Messages", "Close some other programs, then try again.")};
}

Words TraceLost() {
    return {
        Tr("Messages", "The model was not saved: the trace of its rewrite could not be written."),
        Tr("Messages", "Check where the program's output goes, then save again.")};
}

Words Incomplete(std::string headline) {
    return {std::move(headline),
            Tr("Messages",
               "It may have been cut short while it was copied or saved. Choose a complete "
               "copy of it.")};
}

Words Damaged(std::string headline) {
    return {std::move(headline), Tr("Messages", "Choose a copy of the model that is not damaged.")};
}

Words ModelWords(const ModelError& refusal) {
    using Kind = ModelError::Kind;
    const std::string& chunk = refusal.chunk();
    switch (refusal.kind()) {
        case Kind::NotAModel:
            return {Tr("Messages", "This file is not a ZRM model."),
                    Tr("Messages", "Choose a file that holds a ZRM model.")};
        case Kind::TruncatedHeader:
            return Incomplete(
                Tr("Messages", "This model is incomplete: it ends inside a chunk's header."));
        case Kind::TruncatedChunk:
            return Incomplete(Substitute(
                Tr("Messages", "This model is incomplete: it ends inside a %1 chunk."), {chunk}));
        case Kind::NegativeSize:
            return Damaged(Substitute(
                Tr("Messages", "This model is damaged: a %1 chunk has a negative size."), {chunk}));
        case Kind::HandSizeNotWords:
            return Damaged(Substitute(Tr("Messages",
                                         "This model is damaged: the size of a %1 chunk is not "
                                         "a whole number of 4-byte words."),
                                      {chunk}));
        case Kind::TooLarge:
            return Damaged(Substitute(Tr("Messages",
                                         "This model is damaged: a %1 chunk has a size larger "
                                         "than a ZRM model can hold."),
                                      {chunk}));
        case Kind::GrowsTooLarge:
            return {Tr("Messages",
                       "This model is too large: rewritten, it would be larger than a ZRM model "
                       "can be (2 GiB)."),
                    {}};
    }
    return NotSaved();
}

Words ModelNotFound() {
    return {Tr("Messages", "The model could not be found."),
            Tr("Messages", "It may have been moved, renamed or deleted. Choose it again.")};
}

Words AnotherName(std::string headline) {
    return {std::move(headline), Tr("Messages", "Choose another name for the new model.")};
}

Words NotAModelFile(const FileFault& fault) {
    const bool folder = fault.refusal == Refusal::Folder;
    if (fault.role == Role::Model) {
        return {folder ? Tr("Messages", "This is a folder, not a model file.")
                       : Tr("Messages",
                            "This is a device or another special file, not a model "
                            "file."),
                Tr("Messages", "Choose a ZRM model file.")};
    }
    return AnotherName(
        Named(folder ? Tr("Messages", "'%1' is a folder, not a file a model can be saved to.")
                     : Tr("Messages",
                          "'%1' is a device or another special file, not a file a model can be "
                          "saved to."),
              fault.path));
}

Words RefusalWords(const FileFault& fault) {
    switch (fault.refusal) {
        case Refusal::Folder:
        case Refusal::NotAFile:
            return NotAModelFile(fault);
        case Refusal::NoMatch:
            return ModelNotFound();
        case Refusal::InputItself:
            return AnotherName(
                Tr("Messages", "The new model cannot be saved over the model it is made from."));
        case Refusal::ReadOnly:
            return {Named(Tr("Messages", "'%1' is read-only."), fault.path),
                    Tr("Messages", "Make it writable, or choose another name for the new model.")};
        case Refusal::DanglingLink:
            return AnotherName(
                Named(Tr("Messages", "'%1' is a link to a file that does not exist."), fault.path));
        case Refusal::PlantedLink:
            return {Named(Tr("Messages",
                             "'%1' is a link that another user made in a folder that everyone "
                             "may write to."),
                          fault.path),
                    Tr("Messages", "Save the model in a folder of your own.")};
        case Refusal::CreatedMeanwhile:
            return {Named(Tr("Messages",
                             "Another program made '%1' while the model was being saved; it was "
                             "left as it is."),
                          fault.path),
                    Tr("Messages", "Save again to replace it, or choose another name.")};
        case Refusal::Changed:
            return {Tr("Messages", "The model changed while it was being read."),
                    Tr("Messages",
                       "Another program may be writing it. Wait until it has finished, then try "
                       "again.")};
        case Refusal::None:
            break;
    }
    return NotSaved();
}

// The folder a new model is made in, whichever of its files the fault names.
std::filesystem::path FolderOf(const FileFault& fault) {
    return fault.role == Role::OutputFolder ? fault.path : fault.path.parent_path();
}

// Reasons that mean the same to people whichever file they concern.
std::optional<Words> WordsForReason(const FileFault& fault) {
    const std::error_code& error = fault.error;
    if (error == std::errc::too_many_files_open ||
        error == std::errc::too_many_files_open_in_system) {
        return TooManyFilesOpen();
    }
    if (error == std::errc::not_enough_memory) {
        return OutOfMemory();
    }
    if (error == std::errc::no_space_on_device ||
        error == std::error_condition(kQuotaReached, std::generic_category())) {
        return Words{Tr("Messages", "There is not enough room on the disk for the new model."),
                     Tr("Messages", "Free some space, or save it on another disk.")};
    }
    if (error == std::errc::file_too_large) {
        return Words{
            Tr("Messages", "The new model is larger than the system allows this program to write."),
            Tr("Messages",
               "Save it on another disk, or ask your administrator to raise the limit "
               "on file sizes.")};
    }
    if (error == std::errc::device_or_resource_busy || error == std::errc::text_file_busy) {
        if (fault.role == Role::Model) {
            return Words{Tr("Messages", "Another program has this model open for writing."),
                         Tr("Messages", "Wait until it has finished, then try again.")};
        }
        return Words{Named(Tr("Messages", "'%1' is in use by another program."), fault.path),
                     Tr("Messages", "Close it there, then save again.")};
    }
    if (error == std::errc::read_only_file_system && fault.role != Role::Model) {
        return Words{
            Named(Tr("Messages", "The folder '%1' is on a disk that cannot be written to."),
                  FolderOf(fault)),
            Tr("Messages", "Save the model on another disk.")};
    }
    return std::nullopt;
}

bool IsMissing(const std::error_code& error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
}

bool IsForbidden(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

Words StepWords(const FileFault& fault) {
    switch (fault.step) {
        case Step::GiveOwner:
            return AnotherName(Named(Tr("Messages",
                                        "'%1' belongs to another user, and the new model cannot "
                                        "be given to them."),
                                     fault.path));
        case Step::KeepAttributes:
            return AnotherName(Named(Tr("Messages",
                                        "The new model could not be given the permissions and "
                                        "attributes that '%1' has."),
                                     fault.path));
        case Step::SyncFolder:
            return {Named(Tr("Messages",
                             "The new model was saved as '%1', but the system could not confirm "
                             "that it is safely on the disk."),
                          fault.path),
                    Tr("Messages", "Save it again to be sure.")};
        case Step::Other:
            break;
    }
    return NotSaved();
}

Words ModelFileWords(const FileFault& fault) {
    if (IsMissing(fault.error)) {
        return ModelNotFound();
    }
    if (IsForbidden(fault.error)) {
        return {Tr("Messages", "You do not have permission to read this model."),
                Tr("Messages", "Ask its owner for access, or choose a copy you can read.")};
    }
    return {
        Tr("Messages", "The model could not be read."),
        Tr("Messages", "Check that its disk or network folder can be reached, then try again.")};
}

Words OutputWords(const FileFault& fault) {
    if (IsMissing(fault.error)) {
        return {Named(Tr("Messages", "The folder '%1' does not exist."), FolderOf(fault)),
                Tr("Messages", "Choose a folder that exists.")};
    }
    if (IsForbidden(fault.error)) {
        return {Named(Tr("Messages", "You cannot write to the folder '%1'."), FolderOf(fault)),
                Tr("Messages", "Choose another folder, or ask for permission to write there.")};
    }
    return NotSaved();
}

Words FileWords(const FileFault& fault) {
    if (fault.refusal != Refusal::None) {
        return RefusalWords(fault);
    }
    if (const std::optional<Words> words = WordsForReason(fault)) {
        return *words;
    }
    if (fault.step != Step::Other) {
        return StepWords(fault);
    }
    switch (fault.role) {
        case Role::Model:
            return ModelFileWords(fault);
        case Role::Output:
        case Role::OutputFolder:
            return OutputWords(fault);
        case Role::None:
            break;
    }
    return NotSaved();
}

Words OutcomeWords(const RewriteOutcome& outcome) {
    using Cause = RewriteOutcome::Cause;
    if (outcome.modelRefusal) {
        return ModelWords(*outcome.modelRefusal);
    }
    switch (outcome.cause) {
        case Cause::Memory:
            return OutOfMemory();
        case Cause::Trace:
            return TraceLost();
        case Cause::None:
        case Cause::File:
        case Cause::OpenFiles:
            break;
    }
    return FileWords(outcome.fileFault);
}

// A trace that did not arrive leaves the session no message; the line is the
// one morvane-cli prints for it.
std::string TechnicalLine(const RewriteOutcome& outcome) {
    if (outcome.cause == RewriteOutcome::Cause::Trace) {
        return "cannot write the trace to standard output: " + outcome.traceError.message() + "; " +
               Quoted(outcome.output) + " was left as it was";
    }
    return outcome.message;
}

}  // namespace

PlainMessage PlainMessageFor(const RewriteOutcome& outcome) {
    return Told(OutcomeWords(outcome), TechnicalLine(outcome));
}

PlainMessage PlainMessageFor(const FileError& error) {
    return Told(FileWords(error.fault()), error.what());
}

}  // namespace morvane::ui
