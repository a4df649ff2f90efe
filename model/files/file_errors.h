#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "model/errors.h"
#include "model/files/system_calls.h"

// The file layer's errors, each naming its file, each worded here or where
// its step is taken, once for every system.
namespace morvane {

// A file that could not be opened because the program, or the system, has as
// many open as it may: it may be opened once others have been closed.
class TooManyOpenFiles : public FileError {
public:
    using FileError::FileError;
};

// A file the rewrite will not take as it stands (a folder, a read-only output,
// the input itself...): nothing failed, but the user must choose another.
class FileRefused : public FileError {
public:
    using FileError::FileError;
    FileRefused(const std::string& message, FileFault::Role role, const std::filesystem::path& path,
                FileFault::Refusal why)
        : FileError(message, {role, path, FileFault::Step::Other, why}) {}
};

// Throws a FileError: `what`, then the system's reason for `error`; the
// fault names the file, and gets the reason too.
[[noreturn]] void FailWith(const std::string& what, const std::error_code& error, FileFault fault);

// The same refusal with the file's name in front of it.
ModelError NamingFile(const std::filesystem::path& path, const ModelError& error);

// Turns a failed read of the model into an error that names the file and the
// system's reason; without a reason, the model was cut short meanwhile.
[[noreturn]] void FailReading(const std::filesystem::path& path, const std::error_code& error);

// Refuses a model that another program changed while it was read: what was
// read may be part old and part new.
[[noreturn]] void RefuseChangedModel(const std::filesystem::path& path);

// What a file of that kind is, for people: "a folder", "a character device"...
std::string DescribeFileKind(sys::FileKind kind);

// Refuses a path that names something other than a file a model can be in.
[[noreturn]] void RefuseNotAModelFile(const std::filesystem::path& path, sys::FileKind kind,
                                      FileFault::Role role);

// What a step on the model at `path` says when it ran out of memory:
// "cannot rewrite 'a.zrm': out of memory".
std::string OutOfMemoryMessage(const std::string& step, const std::filesystem::path& path);

}  // namespace morvane
