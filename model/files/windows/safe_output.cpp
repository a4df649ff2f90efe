#include "model/files/safe_output.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <string>
#include <utility>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/windows/file_kind.h"
#include "model/files/windows/system_error.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// What a replaced file's attributes say about it that its replacement keeps
// too, whether or not ReplaceFileW carries them over itself.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsNotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsLink(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Opens whatever the name leads to, links followed, only to look at it.
UniqueHandle openToLookAt(const fs::path& path) {
    return UniqueHandle(::CreateFileW(SystemPath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::pair<std::uint64_t, std::uint64_t> identityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information)) {
        return {0, 0};
    }
    return {information.dwVolumeSerialNumber,
            std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow};
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

}  // namespace

// A replaced file keeps its access control list and owner through
// ReplaceFileW; its attributes are also set on the new file here.
struct SafeOutput::Replaced {
    DWORD attributes;
};

void SafeOutput::DropReplaced::operator()(Replaced* replaced) const {
    delete replaced;
}

bool SafeOutput::followLink() {
    RequireNoDeviceName(output_);
    target_ = output_;
    if (!IsLink(output_)) {
        return true;
    }
    const UniqueHandle destination = openToLookAt(output_);
    if (!destination.isOpen()) {
        const DWORD error = ::GetLastError();
        if (IsNotThere(error)) {
            return false;
        }
        FailWithSystemError("cannot write " + Quoted(output_), error);
    }
    const fs::path reached = FinalPathOf(destination.get());
    target_ = reached.empty() ? output_ : reached;
    throughLink_ = true;
    return true;
}

// Windows looks at a name through what it leads to, links followed or not.
std::optional<SafeOutput::FoundFile> SafeOutput::findFile(const fs::path& path, bool) const {
    const UniqueHandle found = openToLookAt(path);
    if (!found.isOpen()) {
        const DWORD error = ::GetLastError();
        if (IsNotThere(error)) {
            return std::nullopt;
        }
        FailWithSystemError("cannot write " + Quoted(output_), error);
    }
    const auto [volume, index] = identityOfHandle(found.get());
    BY_HANDLE_FILE_INFORMATION information{};
    const bool readOnly = ::GetFileInformationByHandle(found.get(), &information) &&
                          (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return FoundFile{KindOfFileOnDisk(found.get()), volume, index, readOnly};
}

std::pair<std::uint64_t, std::uint64_t> SafeOutput::identityOf(int fd) {
    return identityOfHandle(handleOf(fd));
}

std::unique_ptr<SafeOutput::Replaced, SafeOutput::DropReplaced> SafeOutput::noteReplaced() const {
    const DWORD attributes = ::GetFileAttributesW(SystemPath(target_).c_str());
    return std::unique_ptr<Replaced, DropReplaced>(
        new Replaced{attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes});
}

// The name as Windows compares names: in full, in any case, and without the
// dots and spaces that it drops from the end of a name.
fs::path::string_type SafeOutput::placeOf(const fs::path& target) const {
    return NameKey(SystemPath(target)).native();
}

// The new model while it is written is a file beside the output, under a name
// of its own until it is complete. It may be removed by name while open, so
// that an ending program can take it away.
void SafeOutput::makeTemporaryFile() {
    makeHiddenFile();
}

bool SafeOutput::createExclusive(const fs::path& name) {
    UniqueHandle handle(::CreateFileW(SystemPath(name).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.isOpen()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return false;
        }
        FailWithSystemError("cannot write in the folder " + Quoted(folder()), error);
    }
    const int fd =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        FailWith("cannot write " + Quoted(output_), errno);
    }
    handle.release();
    fd_ = FileDescriptor(fd);
    return true;
}

void SafeOutput::complete() {
    if (!replaced_ || std::exchange(completed_, true)) {
        return;
    }
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = replaced_->attributes & kKeptAttributes;
    if (basic.FileAttributes != 0 &&
        !::SetFileInformationByHandle(handleOf(fd()), FileBasicInfo, &basic, sizeof basic)) {
        FailWithSystemError("cannot give the new model the attributes of " + Quoted(output_),
                            ::GetLastError());
    }
}

void SafeOutput::flushToDisk() {
    if (!::FlushFileBuffers(handleOf(fd()))) {
        FailWithSystemError("cannot write " + Quoted(output_), ::GetLastError());
    }
}

// Windows has no sync of a whole file system for a program to ask for: each
// file of a group is synced on its own.
bool SafeOutput::syncedWithFileSystem(std::set<std::uint64_t>&) const {
    return false;
}

// Windows cannot name a file that has none: every new model has its hidden
// name from the start, and takes the output name by a move.
bool SafeOutput::linkAsNewName() {
    return false;
}

void SafeOutput::renameOverTarget() {
    if (const int error = fd_.close(); error != 0) {
        FailWith("cannot write " + Quoted(output_), error);
    }
    const bool named =
        replaced_ ? ::ReplaceFileW(SystemPath(target_).c_str(), SystemPath(name_.path()).c_str(),
                                   nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                  : ::MoveFileExW(SystemPath(name_.path()).c_str(), SystemPath(target_).c_str(),
                                  MOVEFILE_WRITE_THROUGH);
    if (!named) {
        FailWithSystemError("cannot give the new model the name " + Quoted(output_),
                            ::GetLastError());
    }
}

// A move that writes through needs no sync of the folder.
void SafeOutput::syncFolder() const {}

// A group keeps only a few temporary names at once anyway.
std::size_t SafeOutput::MostWaitingAtOnce() {
    return SIZE_MAX;
}

std::optional<OutputLanding> LandingOfFile(const fs::path& file) {
    const UniqueHandle handle = openToLookAt(file);
    if (!handle.isOpen()) {
        return std::nullopt;
    }
    const auto [volume, index] = identityOfHandle(handle.get());
    return OutputLanding{volume, index, {}};
}

}  // namespace morvane
