#include "model_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "path_text.h"

namespace morvane {

namespace {

std::string escaped(unsigned char c) {
    switch (c) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", c);
            return text;
    }
}

}  // namespace

std::string QuotedText(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            quoted += escaped(byte);
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(TextOf(path));
}

void FailWith(const std::string& what, int error) {
    if (error == EMFILE || error == ENFILE) {
        throw TooManyOpenFiles(what + ": " + std::strerror(error));
    }
    throw FileError(what + ": " + std::strerror(error));
}

void RefuseReadOnly(const std::filesystem::path& output) {
    throw FileError(Quoted(output) + " is read-only; make it writable to replace it");
}

std::int64_t FileSize(int fd) {
    const auto here = ::lseek(fd, 0, SEEK_CUR);
    const auto end = ::lseek(fd, 0, SEEK_END);
    if (here < 0 || end < 0 || ::lseek(fd, here, SEEK_SET) < 0) {
        return 0;
    }
    return end;
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

}  // namespace morvane
