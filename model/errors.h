#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

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
        TruncatedChunk,    // header words or payload cut off by the end of the input
        NegativeSize,      // a size word below zero
        HandSizeNotWords,  // a HAND chunk whose size is not a multiple of 4
        TooLarge,          // a size the format's signed 32-bit words cannot hold
    };

    ModelError(Kind kind, std::int64_t offset, const std::string& message)
        : Error(message), kind_(kind), offset_(offset) {}

    Kind kind() const { return kind_; }
    // Byte offset in the input of the chunk (or word) that was refused.
    std::int64_t offset() const { return offset_; }

private:
    Kind kind_;
    std::int64_t offset_;
};

// A rewrite stopped at the user's request; nothing was written.
class Cancelled : public Error {
public:
    Cancelled() : Error("the rewrite was cancelled") {}
};

// A file that could not be opened, read, written, synced or renamed.
class FileError : public Error {
public:
    using Error::Error;
};

}  // namespace morvane
