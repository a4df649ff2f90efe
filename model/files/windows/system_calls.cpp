#include "model/files/system_calls.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "model/files/path_text.h"
#include "model/files/windows/system_error.h"

namespace morvane::sys {

namespace {

namespace fs = std::filesystem;

// What a replaced file's attributes say about it that its replacement keeps
// too, whether or not ReplaceFileW carries them over itself.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::error_code lastError() {
    return WindowsError(::GetLastError());
}

std::error_code lastCrtError() {
    return {errno, std::generic_category()};
}

HANDLE handleOf(File file) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(file));
}

bool isNotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The C runtime counts the bytes of one read or write in an unsigned int; a
// longer transfer simply takes more calls.
unsigned callBytes(std::size_t size) {
    return static_cast<unsigned>(std::min<std::size_t>(size, std::size_t{1} << 30));
}

// Hands the handle to the C runtime, which closes it with its descriptor.
std::error_code adopt(UniqueHandle& handle, int flags, File& file) {
    file = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), flags | _O_BINARY);
    if (file < 0) {
        file = kNoFile;
        return lastCrtError();
    }
    handle.release();
    return {};
}

FileKind kindOf(HANDLE handle) {
    switch (::GetFileType(handle)) {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_CHAR:
            return FileKind::Device;
        case FILE_TYPE_PIPE:
            return FileKind::Pipe;
        default:
            return FileKind::Other;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(handle, &information) &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileKind::Folder;
    }
    return FileKind::Regular;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return {information.dwVolumeSerialNumber,
            std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow};
}

// The status of what the handle reaches; a regular file's mode is its
// attributes.
std::error_code statusOfHandle(HANDLE handle, FileStatus& status) {
    status = FileStatus{};
    status.kind = kindOf(handle);
    BY_HANDLE_FILE_INFORMATION information{};
    if (status.kind == FileKind::Regular || status.kind == FileKind::Folder) {
        if (!::GetFileInformationByHandle(handle, &information)) {
            return lastError();
        }
        status.identity = identityOf(information);
        status.readOnly = (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        status.mode = information.dwFileAttributes;
    }
    return {};
}

// Opens whatever the name leads to, links followed, only to look at it.
UniqueHandle openToLookAt(const fs::path& path) {
    return UniqueHandle(::CreateFileW(SystemPath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path of the file the handle reaches, in the system's \\?\ form and in
// long names throughout, whatever spelling opened it; empty when the system
// cannot tell.
fs::path finalPathOf(HANDLE handle) {
    std::wstring path(::GetFinalPathNameByHandleW(handle, nullptr, 0, 0), L'\0');
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) {
        return {};
    }
    path.resize(length);
    return fs::path(path);
}

// Other programs may read the model meanwhile; one that writes it would
// change it under the pass.
std::error_code openToRead(const fs::path& path, File& file) {
    file = kNoFile;
    UniqueHandle handle(::CreateFileW(
        SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.isOpen()) {
        const DWORD error = ::GetLastError();
        return error == ERROR_SHARING_VIOLATION ? OpenForWritingElsewhere() : WindowsError(error);
    }
    return adopt(handle, _O_RDONLY, file);
}

std::error_code statusOfFile(File file, FileStatus& status) {
    return statusOfHandle(handleOf(file), status);
}

std::error_code nameOf(File file, const fs::path&, fs::path& name) {
    const fs::path reached = finalPathOf(handleOf(file));
    if (reached.empty()) {
        return lastError();
    }
    name = reached.filename();
    return {};
}

// Windows has no change time; the file's index on its volume tells a file
// put in its place.
std::error_code stateOf(File file, FileState& state) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handleOf(file), &information)) {
        return lastError();
    }
    const auto join = [](DWORD high, DWORD low) {
        return static_cast<std::int64_t>(std::uint64_t{high} << 32 | low);
    };
    state = {
        join(information.nFileSizeHigh, information.nFileSizeLow),
        join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime),
        join(information.nFileIndexHigh, information.nFileIndexLow)};
    return {};
}

std::error_code read(File file, char* data, std::size_t size, std::size_t& got) {
    const int read = ::_read(file, data, callBytes(size));
    got = static_cast<std::size_t>(std::max(read, 0));
    return read < 0 ? lastCrtError() : std::error_code();
}

std::error_code write(File file, const char* data, std::size_t size) {
    while (size > 0) {
        const int written = ::_write(file, data, callBytes(size));
        if (written < 0) {
            return lastCrtError();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

std::error_code seek(File file, std::int64_t offset, Whence from, std::int64_t& position) {
    const int whence = from == Whence::Start     ? SEEK_SET
                       : from == Whence::Current ? SEEK_CUR
                                                 : SEEK_END;
    position = ::_lseeki64(file, offset, whence);
    return position < 0 ? lastCrtError() : std::error_code();
}

// The C runtime's descriptors offer no copy inside the kernel; the buffers
// do the work.
std::error_code copyInKernel(File, File, std::size_t, std::size_t& copied) {
    copied = 0;
    return std::make_error_code(std::errc::not_supported);
}

void startWriteback(File, std::int64_t, std::int64_t) {}

std::error_code syncFile(File file) {
    return ::FlushFileBuffers(handleOf(file)) ? std::error_code() : lastError();
}

std::error_code close(File file) {
    return ::_close(file) == 0 ? std::error_code() : lastCrtError();
}

// Windows looks at a name through what it leads to, links followed or not.
std::error_code statusOf(const fs::path& path, bool, std::optional<FileStatus>& status) {
    status.reset();
    const UniqueHandle found = openToLookAt(path);
    if (!found.isOpen()) {
        const DWORD error = ::GetLastError();
        return isNotThere(error) ? std::error_code() : WindowsError(error);
    }
    FileStatus seen;
    if (const std::error_code error = statusOfHandle(found.get(), seen)) {
        return error;
    }
    status = seen;
    return {};
}

// Windows has no folder open to all whose links could be planted; a link is
// followed to the file it reaches.
std::error_code followLinks(const fs::path& name, FollowedName& followed) {
    followed = FollowedName{};
    followed.target = name;
    const DWORD attributes = ::GetFileAttributesW(SystemPath(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return {};
    }
    const UniqueHandle destination = openToLookAt(name);
    if (!destination.isOpen()) {
        const DWORD error = ::GetLastError();
        if (!isNotThere(error)) {
            return WindowsError(error);
        }
        std::error_code ignored;
        followed.dangling = fs::read_symlink(SystemPath(name), ignored);
        return {};
    }
    const fs::path reached = finalPathOf(destination.get());
    followed.target = reached.empty() ? name : reached;
    followed.throughLink = true;
    return {};
}

// The name as Windows compares names: in full, in any case, and without the
// dots and spaces that it drops from the end of a name.
fs::path::string_type placeOf(const fs::path& name) {
    return NameKey(SystemPath(name)).native();
}

// Windows cannot name a file that has none: every new model has its hidden
// name from the start, and takes the output name by a move.
std::error_code createUnnamed(const fs::path&, bool, File& file) {
    file = kNoFile;
    return std::make_error_code(std::errc::not_supported);
}

// It may be removed by name while open, so that an ending program can take
// it away.
std::error_code createNamed(const fs::path& name, bool, File& file) {
    file = kNoFile;
    UniqueHandle handle(::CreateFileW(SystemPath(name).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.isOpen()) {
        return lastError();
    }
    return adopt(handle, _O_WRONLY, file);
}

std::error_code linkUnnamed(File, const fs::path&) {
    return std::make_error_code(std::errc::not_supported);
}

std::error_code linkName(const fs::path& existing, const fs::path& name) {
    return ::CreateHardLinkW(SystemPath(name).c_str(), SystemPath(existing).c_str(), nullptr)
               ? std::error_code()
               : lastError();
}

// A file in the place is replaced keeping its access control list and owner;
// a name that is new is taken by a move that writes through, which needs no
// sync of the folder, and never takes a name that appeared meanwhile.
std::error_code rename(const fs::path& from, const fs::path& to) {
    const bool replacing = ::GetFileAttributesW(SystemPath(to).c_str()) != INVALID_FILE_ATTRIBUTES;
    const bool named =
        replacing ? ::ReplaceFileW(SystemPath(to).c_str(), SystemPath(from).c_str(), nullptr,
                                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                  : ::MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(),
                                  MOVEFILE_WRITE_THROUGH);
    return named ? std::error_code() : lastError();
}

std::error_code moveName(const fs::path& from, const fs::path& to) {
    return ::MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? std::error_code()
               : lastError();
}

std::error_code remove(const fs::path& name) {
    return ::DeleteFileW(SystemPath(name).c_str()) ? std::error_code() : lastError();
}

std::error_code makeFolder(const fs::path& folder) {
    return ::CreateDirectoryW(SystemPath(folder).c_str(), nullptr) ? std::error_code()
                                                                   : lastError();
}

// A name that leads elsewhere (a symbolic link, a junction) is a link.
std::error_code readFolder(const fs::path& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((SystemPath(folder) / L"*").c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const DWORD attributes = found.dwFileAttributes;
        const FileKind kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                                  ? FileKind::SymbolicLink
                              : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder
                                                                             : FileKind::Regular;
        entries.push_back({fs::path(name), kind});
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? std::error_code() : WindowsError(error);
}

// What a replaced file has beyond its attributes, ReplaceFileW keeps itself.
std::error_code attributeNames(const fs::path&, std::vector<std::string>& names) {
    names.clear();
    return {};
}

std::error_code attributeValue(const fs::path&, const std::string&, std::vector<char>&) {
    return std::make_error_code(std::errc::not_supported);
}

std::error_code giveOwner(File, std::uint32_t, std::uint32_t) {
    return std::make_error_code(std::errc::not_supported);
}

std::error_code giveAttribute(File, const Attribute&) {
    return std::make_error_code(std::errc::not_supported);
}

std::error_code giveMode(File file, std::uint32_t mode, std::uint32_t& given) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = mode & kKeptAttributes;
    if (basic.FileAttributes != 0 &&
        !::SetFileInformationByHandle(handleOf(file), FileBasicInfo, &basic, sizeof basic)) {
        return lastError();
    }
    given = mode;
    return {};
}

// Windows has no sync of a whole file system for a program to ask for.
std::optional<std::uint64_t> soundlySyncedFileSystem(File) {
    return std::nullopt;
}

std::error_code syncFileSystem(File) {
    return std::make_error_code(std::errc::not_supported);
}

// A move that writes through needs no sync of the folder.
std::error_code syncFolder(const fs::path&) {
    return {};
}

// A group keeps only a few temporary names at once anyway.
std::size_t filesStillFree() {
    return SIZE_MAX;
}

}  // namespace

#define MORVANE_NATIVE_ENTRY(name) .name = name,
extern const Calls kNativeCalls{MORVANE_SYSTEM_CALLS(MORVANE_NATIVE_ENTRY)};
#undef MORVANE_NATIVE_ENTRY

}  // namespace morvane::sys
