#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "model/carried_block.h"
#include "model/chunk_listing.h"
#include "model/files/descriptor_buffer.h"
#include "model/files/system_calls.h"

namespace morvane {

// A model file opened for reading. The check for a carried block and the
// rewrite read the one file that was opened, whatever its name leads to
// meanwhile, and the rewrite refuses it if it changed after it was opened.
class ModelFile {
public:
    // Anything but a regular file on disk is refused, and a named pipe with no
    // writer cannot make the open wait.
    explicit ModelFile(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    // The name its folder holds it under (see sys::Calls::nameOf).
    std::filesystem::path ownName() const;
    sys::File file() const { return file_.get(); }
    // Its length when it was opened.
    std::int64_t size() const { return opened_.length; }

    // The block it carries if a rewrite has been through it, found from its
    // end and its chunk headers alone; the file stands at its start again
    // afterwards. A model that cannot be read so carries none as far as this
    // is concerned: its rewrite says what is wrong with it.
    std::optional<CarriedBlock> carriedBlock();
    // Lists its chunks as ListChunks does; every error names the file.
    std::optional<CarriedBlock> list(const ListingSink& sink);
    // Refuses the model when another program has changed it since it was opened.
    void requireUnchanged() const;

private:
    static FileDescriptor open(const std::filesystem::path& path);
    sys::FileState state() const;
    void rewind() const;

    std::filesystem::path path_;
    FileDescriptor file_;
    sys::FileState opened_;
};

}  // namespace morvane
