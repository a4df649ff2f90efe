#pragma once

#include <filesystem>
#include <string>

#include "model/errors.h"
#include "model/files/descriptor_buffer.h"

// The file layer's errors, each naming its file.
namespace morvane {

// A file that could not be opened because the program, or the system, has as
// many open as it may: it may be opened once others have been closed.
class TooManyOpenFiles : public FileError {
public:
    using FileError::FileError;
};

// Throws a FileError: `what`, then the system's reason for the errno `error`.
[[noreturn]] void FailWith(const std::string& what, int error);

// The same refusal with the file's name in front of it.
ModelError NamingFile(const std::filesystem::path& path, const ModelError& error);

// Turns a failed read of the model into an error that names the file and the
// system's reason.
[[noreturn]] void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer);

// Refuses a model that another program changed while it was read: what was
// read may be part old and part new.
[[noreturn]] void RefuseChangedModel(const std::filesystem::path& path);

// What a step on the model at `path` says when it ran out of memory:
// "cannot rewrite 'a.zrm': out of memory".
std::string OutOfMemoryMessage(const std::string& step, const std::filesystem::path& path);

// Refuses a path that names something other than a file a model can be in;
// `kind` says what it is ("a folder", "a device"...).
[[noreturn]] void RefuseNotAModelFile(const std::filesystem::path& path, const std::string& kind);

}  // namespace morvane
