#include "model/files/model_file.h"

#include <unistd.h>

#include <cerrno>
#include <istream>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"

namespace morvane {

ModelFile::ModelFile(const std::filesystem::path& path)
    : path_(path), fd_(open(path)), opened_(state()) {}

std::optional<CarriedBlock> ModelFile::carriedBlock() {
    std::optional<CarriedBlock> block;
    {
        InputFileBuf buffer(fd());
        std::istream input(&buffer);
        block = FindCarriedBlock(input);
    }
    rewind();
    return block;
}

std::optional<CarriedBlock> ModelFile::list(const ListingSink& sink) {
    InputFileBuf buffer(fd());
    std::istream input(&buffer);
    try {
        return ListChunks(input, sink);
    } catch (const ModelError& error) {
        throw NamingFile(path_, error);
    } catch (const FileError&) {
        FailReading(path_, buffer);
    }
}

void ModelFile::requireUnchanged() const {
    if (state() != opened_) {
        RefuseChangedModel(path_);
    }
}

void ModelFile::rewind() const {
    if (::lseek(fd(), 0, SEEK_SET) != 0) {
        FailWith("cannot read the model " + Quoted(path_), errno);
    }
}

}  // namespace morvane
