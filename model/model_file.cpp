#include "model_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace morvane {

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

void FailWith(const std::string& what, int error) {
    throw FileError(what + ": " + std::strerror(error));
}

FileDescriptor OpenModelFile(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen()) {
        FailWith("cannot open the model " + Quoted(path), errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        FailWith("cannot read the model " + Quoted(path), errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileError(Quoted(path) + " is a folder, not a model file");
    }
    return fd;
}

ModelError NamingFile(const std::filesystem::path& path, const ModelError& error) {
    return ModelError(error.kind(), error.offset(), Quoted(path) + ": " + error.what());
}

void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer) {
    if (buffer.error() != 0) {
        FailWith("cannot read the model " + Quoted(path), buffer.error());
    }
    throw FileError("cannot read the model " + Quoted(path) + ": it changed while it was read");
}

}  // namespace morvane
