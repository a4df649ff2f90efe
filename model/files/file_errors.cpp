#include "model/files/file_errors.h"

#include <cerrno>
#include <cstring>

#include "model/files/path_text.h"

namespace morvane {

void FailWith(const std::string& what, int error) {
    if (error == EMFILE || error == ENFILE) {
        throw TooManyOpenFiles(what + ": " + std::strerror(error));
    }
    throw FileError(what + ": " + std::strerror(error));
}

ModelError NamingFile(const std::filesystem::path& path, const ModelError& error) {
    return ModelError(error.kind(), error.offset(), Quoted(path) + ": " + error.what());
}

void FailReading(const std::filesystem::path& path, const InputFileBuf& buffer) {
    if (buffer.error() != 0) {
        FailWith("cannot read the model " + Quoted(path), buffer.error());
    }
    RefuseChangedModel(path);
}

void RefuseChangedModel(const std::filesystem::path& path) {
    throw FileError("cannot read the model " + Quoted(path) + ": it changed while it was read");
}

std::string OutOfMemoryMessage(const std::string& step, const std::filesystem::path& path) {
    return "cannot " + step + " " + Quoted(path) + ": out of memory";
}

void RefuseNotAModelFile(const std::filesystem::path& path, const std::string& kind) {
    throw FileError(Quoted(path) + " is " + kind + ", not a model file");
}

}  // namespace morvane
