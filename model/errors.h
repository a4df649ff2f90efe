#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

namespace morvane {

// Everything the system refuses or fails at; what() is a sentence for the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input that is no sound ZRM model. Nothing is written for it.
class ModelError : public Error {
public:
    enum class Kind {
        NotAModel,         // does not begin with the ZRM4 container header
        TruncatedHeader,   // a chunk's header words cut off by the end of the input
        TruncatedChunk,    // a chunk's payload cut off by the end of the input
        NegativeSize,      // a size word below zero
        HandSizeNotWords,  // a HAND chunk whose size is not a multiple of 4
        TooLarge,          // a chunk's size that the format's signed 32-bit words cannot hold
        GrowsTooLarge,     // the rewrite would take a length past what those words can hold
    };

    // `chunk` names the kind of the chunk refused ("PRIM"); none for a model
    // refused as a whole.
    ModelError(Kind kind, std::int64_t offset, const std::string& message, std::string chunk = {})
        : Error(message), kind_(kind), offset_(offset), chunk_(std::move(chunk)) {}

    Kind kind() const { return kind_; }
    // Byte offset in the input of the chunk (or word) that was refused.
    std::int64_t offset() const { return offset_; }
    const std::string& chunk() const { return chunk_; }

private:
    Kind kind_;
    std::int64_t offset_;
    std::string chunk_;
};

// A rewrite stopped at the user's request; nothing was written.
class Cancelled : public Error {
public:
    Cancelled() : Error("the rewrite was cancelled") {}
};

// Which file of a rewrite a file's error concerns, what was being done with
// it and why, as data: a front end tells people of it in their own words
// from this, never from the English of the message.
struct FileFault {
    enum class Role { None, Model, Output, OutputFolder };
    // The steps whose failure people are told of in words of their own.
    enum class Step { Other, GiveOwner, KeepAttributes, SyncFolder };
    // Why a file is not taken as it stands; None for a failure.
    enum class Refusal {
        None,
        Folder,            // a folder where a model file must be
        NotAFile,          // a device, a pipe, a socket...
        NoMatch,           // a pattern that matched no file
        InputItself,       // the output is the model being read
        ReadOnly,          // an output that no one may write to
        DanglingLink,      // a link to nothing
        PlantedLink,       // a link another user made in a folder open to all
        CreatedMeanwhile,  // another program made the output while the model was written
        Changed,           // the model changed while it was read
    };

    FileFault() = default;
    FileFault(Role of, std::filesystem::path named, Step during = Step::Other,
              Refusal why = Refusal::None)
        : role(of), path(std::move(named)), step(during), refusal(why) {}

    Role role = Role::None;
    std::filesystem::path path;  // the file or folder, as the user named it
    Step step = Step::Other;
    Refusal refusal = Refusal::None;
    std::error_code error;  // the system's reason, where it gave one
};

// A file that could not be opened, read, written, synced or renamed.
class FileError : public Error {
public:
    explicit FileError(const std::string& message, FileFault fault = {})
        : Error(message), fault_(std::move(fault)) {}

    const FileFault& fault() const { return fault_; }

private:
    FileFault fault_;
};

}  // namespace morvane
