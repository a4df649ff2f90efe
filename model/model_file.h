#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "errors.h"
#include "posix_file.h"

// Model files on disk: opening one for reading, and errors that name the file.
namespace morvane {

// Text from outside (a file name, a typed value) in quotes, with control
// characters written as escapes, so that a message stays one harmless line.
std::string QuotedText(std::string_view text);
std::string Quoted(const std::filesystem::path& path);

// Throws a FileError: `what`, then the system's reason for the errno `error`.
[[noreturn]] void FailWith(const std::string& what, int error);

// Refuses to replace an output that its owner made read-only, or that the
// program could not write to.
[[noreturn]] void RefuseReadOnly(const std::filesystem::path& output);

// Opens a model read-only. Anything but a regular file on disk is refused
// here, and a named pipe with no writer cannot make the open wait.
FileDescriptor OpenModelFile(const std::filesystem::path& path);

// What shows that an open model has changed: its length, when its bytes were
// last written and when the file last changed at all (on Windows, which has
// no change time, the file's index on its volume in its place).
struct FileState {
    std::int64_t length = 0;
    std::int64_t written = 0;  // in the system's own units
    std::int64_t changed = 0;
    bool operator==(const FileState&) const = default;
};
FileState StateOf(const std::filesystem::path& path, int fd);

// Refuses a model that another program changed while it was read: what was
// read may be part old and part new.
[[noreturn]] void RefuseChangedModel(const std::filesystem::path& path);

// The length of an open file, or 0 when it cannot be told.
std::int64_t FileSize(int fd);

// The same refusal with the file's name in front of it.
ModelError NamingFile(const std::filesystem::path& path, const ModelError& error);

// Turns a failed read of the model into an error that names the file and the
// system's reason.
[[noreturn]] void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer);

}  // namespace morvane
