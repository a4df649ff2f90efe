#include "model/files/file_errors.h"

#include <utility>

#include "model/files/path_text.h"

namespace morvane {

void FailWith(const std::string& what, const std::error_code& error, FileFault fault) {
    fault.error = error;
    if (error == std::errc::too_many_files_open ||
        error == std::errc::too_many_files_open_in_system) {
        throw TooManyOpenFiles(what + ": " + error.message(), std::move(fault));
    }
    throw FileError(what + ": " + error.message(), std::move(fault));
}

ModelError NamingFile(const std::filesystem::path& path, const ModelError& error) {
    return ModelError(error.kind(), error.offset(), Quoted(path) + ": " + error.what(),
                      error.chunk());
}

void FailReading(const std::filesystem::path& path, const std::error_code& error) {
    if (error) {
        FailWith("cannot read the model " + Quoted(path), error, {FileFault::Role::Model, path});
    }
    RefuseChangedModel(path);
}

void RefuseChangedModel(const std::filesystem::path& path) {
    throw FileRefused("cannot read the model " + Quoted(path) + ": it changed while it was read",
                      FileFault::Role::Model, path, FileFault::Refusal::Changed);
}

std::string DescribeFileKind(sys::FileKind kind) {
    switch (kind) {
        case sys::FileKind::Regular:
            return "a regular file";
        case sys::FileKind::Folder:
            return "a folder";
        case sys::FileKind::CharacterDevice:
            return "a character device";
        case sys::FileKind::BlockDevice:
            return "a block device";
        case sys::FileKind::Pipe:
            return "a named pipe (FIFO)";
        case sys::FileKind::Socket:
            return "a socket";
        case sys::FileKind::SymbolicLink:
            return "a symbolic link";
        case sys::FileKind::Device:
            return "a device";
        case sys::FileKind::SystemInformation:
            return "a file of the system's own information";
        case sys::FileKind::Other:
            break;
    }
    return "not a regular file";
}

void RefuseNotAModelFile(const std::filesystem::path& path, sys::FileKind kind,
                         FileFault::Role role) {
    throw FileRefused(
        Quoted(path) + " is " + DescribeFileKind(kind) + ", not a model file", role, path,
        kind == sys::FileKind::Folder ? FileFault::Refusal::Folder : FileFault::Refusal::NotAFile);
}

std::string OutOfMemoryMessage(const std::string& step, const std::filesystem::path& path) {
    return "cannot " + step + " " + Quoted(path) + ": out of memory";
}

}  // namespace morvane
