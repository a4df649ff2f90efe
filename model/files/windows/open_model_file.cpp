#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "model/files/file_errors.h"
#include "model/files/model_file.h"
#include "model/files/path_text.h"
#include "model/files/windows/file_kind.h"
#include "model/files/windows/system_error.h"

namespace morvane {

namespace {

// Other programs may read the model meanwhile; one that writes it would
// change it under the pass.
HANDLE OpenForReading(const std::filesystem::path& path) {
    const HANDLE handle = ::CreateFileW(
        SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        return handle;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION) {
        throw FileError("cannot open the model " + Quoted(path) +
                        ": another program has it open for writing");
    }
    FailWithSystemError("cannot open the model " + Quoted(path), error);
}

}  // namespace

FileDescriptor ModelFile::open(const std::filesystem::path& path) {
    // A wildcard cannot stand in a name: this is a pattern that matched nothing.
    if (path.filename().native().find_first_of(L"*?") != std::wstring::npos) {
        throw FileError("no file matches " + Quoted(path));
    }
    RequireNoDeviceName(path);
    UniqueHandle handle(OpenForReading(path));
    RequireFileOnDisk(path, handle.get());
    const int fd =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        FailWith("cannot read the model " + Quoted(path), errno);
    }
    handle.release();
    return FileDescriptor(fd);
}

std::filesystem::path ModelFile::ownName() const {
    const std::filesystem::path reached =
        FinalPathOf(reinterpret_cast<HANDLE>(::_get_osfhandle(fd())));
    if (reached.empty()) {
        FailWithSystemError("cannot find out the file name of the model " + Quoted(path_),
                            ::GetLastError());
    }
    return reached.filename();
}

ModelFile::State ModelFile::state() const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(fd())),
                                      &information)) {
        FailWithSystemError("cannot read the model " + Quoted(path_), ::GetLastError());
    }
    const auto join = [](DWORD high, DWORD low) {
        return static_cast<std::int64_t>(std::uint64_t{high} << 32 | low);
    };
    return {
        join(information.nFileSizeHigh, information.nFileSizeLow),
        join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime),
        join(information.nFileIndexHigh, information.nFileIndexLow)};
}

}  // namespace morvane
