#include "model/files/model_file.h"

#include <istream>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"

namespace morvane {

namespace {

FileFault modelFault(const std::filesystem::path& path) {
    return {FileFault::Role::Model, path};
}

}  // namespace

ModelFile::ModelFile(const std::filesystem::path& path)
    : path_(path), file_(open(path)), opened_(state()) {}

// Anything but a regular file on disk is refused; a named pipe with no
// writer cannot make the open wait. A name that still holds a wildcard is a
// pattern that matched nothing.
FileDescriptor ModelFile::open(const std::filesystem::path& path) {
    if (HoldsWildcard(path)) {
        throw FileRefused("no file matches " + Quoted(path), FileFault::Role::Model, path,
                          FileFault::Refusal::NoMatch);
    }
    if (IsReservedDeviceName(path)) {
        RefuseNotAModelFile(path, sys::FileKind::Device, FileFault::Role::Model);
    }
    sys::File opened = sys::kNoFile;
    if (const std::error_code error = sys::SystemCalls().openToRead(path, opened)) {
        FailWith("cannot open the model " + Quoted(path), error, modelFault(path));
    }
    FileDescriptor file(opened);
    sys::FileStatus status;
    if (const std::error_code error = sys::SystemCalls().statusOfFile(opened, status)) {
        FailWith("cannot read the model " + Quoted(path), error, modelFault(path));
    }
    if (status.kind != sys::FileKind::Regular) {
        RefuseNotAModelFile(path, status.kind, FileFault::Role::Model);
    }
    return file;
}

std::filesystem::path ModelFile::ownName() const {
    std::filesystem::path name;
    if (const std::error_code error = sys::SystemCalls().nameOf(file(), path_, name)) {
        FailWith("cannot find out the file name of the model " + Quoted(path_), error,
                 modelFault(path_));
    }
    return name;
}

std::optional<CarriedBlock> ModelFile::carriedBlock() {
    std::optional<CarriedBlock> block;
    {
        InputFileBuf buffer(file());
        std::istream input(&buffer);
        block = FindCarriedBlock(input);
    }
    rewind();
    return block;
}

std::optional<CarriedBlock> ModelFile::list(const ListingSink& sink) {
    InputFileBuf buffer(file());
    std::istream input(&buffer);
    try {
        return ListChunks(input, sink);
    } catch (const ModelError& error) {
        throw NamingFile(path_, error);
    } catch (const FileError&) {
        FailReading(path_, buffer.error());
    }
}

void ModelFile::requireUnchanged() const {
    if (state() != opened_) {
        RefuseChangedModel(path_);
    }
}

sys::FileState ModelFile::state() const {
    sys::FileState now;
    if (const std::error_code error = sys::SystemCalls().stateOf(file(), now)) {
        FailWith("cannot read the model " + Quoted(path_), error, modelFault(path_));
    }
    return now;
}

void ModelFile::rewind() const {
    std::int64_t position = 0;
    if (const std::error_code error =
            sys::SystemCalls().seek(file(), 0, sys::Whence::Start, position)) {
        FailWith("cannot read the model " + Quoted(path_), error, modelFault(path_));
    }
}

}  // namespace morvane
