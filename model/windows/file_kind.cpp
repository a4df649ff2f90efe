#include "file_kind.h"

#include <string_view>

#include "model/errors.h"
#include "model/model_file.h"

namespace morvane {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& path, const std::string& kind) {
    throw FileError(Quoted(path) + " is " + kind + ", not a model file");
}

}  // namespace

// Windows spells the full path of a reserved name as the device itself.
bool IsDeviceName(const std::filesystem::path& path) {
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 4 && length < MAX_PATH && std::wstring_view(full, 4) == L"\\\\.\\";
}

void RequireNoDeviceName(const std::filesystem::path& path) {
    if (IsDeviceName(path)) {
        refuse(path, "a device");
    }
}

void RequireFileOnDisk(const std::filesystem::path& path, HANDLE handle) {
    switch (::GetFileType(handle)) {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_CHAR:
            refuse(path, "a device");
        case FILE_TYPE_PIPE:
            refuse(path, "a pipe");
        default:
            refuse(path, "not a file on disk");
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(handle, &information) &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        refuse(path, "a folder");
    }
}

bool IsSameFile(HANDLE first, HANDLE second) {
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION other{};
    return ::GetFileInformationByHandle(first, &one) &&
           ::GetFileInformationByHandle(second, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

}  // namespace morvane
