#include "model/files/windows/file_kind.h"

#include <string_view>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"

namespace morvane {

// Windows spells the full path of a reserved name as the device itself.
void RequireNoDeviceName(const std::filesystem::path& path) {
    if (SystemPath(path).native().starts_with(LR"(\\.\)")) {
        RefuseNotAModelFile(path, "a device");
    }
}

std::string KindOfFileOnDisk(HANDLE handle) {
    switch (::GetFileType(handle)) {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_CHAR:
            return "a device";
        case FILE_TYPE_PIPE:
            return "a pipe";
        default:
            return "not a file on disk";
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(handle, &information) &&
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return "a folder";
    }
    return "";
}

void RequireFileOnDisk(const std::filesystem::path& path, HANDLE handle) {
    if (const std::string kind = KindOfFileOnDisk(handle); !kind.empty()) {
        RefuseNotAModelFile(path, kind);
    }
}

}  // namespace morvane
