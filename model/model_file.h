#pragma once

#include <filesystem>
#include <string>

#include "errors.h"
#include "posix_file.h"

// Model files on disk: opening one for reading, and errors that name the file.
namespace morvane {

std::string Quoted(const std::filesystem::path& path);

[[noreturn]] void FailWith(const std::string& what, int error);

// Opens a model read-only; a folder or an unreadable file is refused here.
FileDescriptor OpenModelFile(const std::filesystem::path& path);

// The same refusal with the file's name in front of it.
ModelError NamingFile(const std::filesystem::path& path, const ModelError& error);

// Turns a failed read of the model into an error that names the file and the
// system's reason.
[[noreturn]] void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer);

}  // namespace morvane
