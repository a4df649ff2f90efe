#include "model/files/windows/file_kind.h"

#include <string_view>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"

namespace morvane {

namespace {

// \\.\ or //./ in front: the device namespace, where a file on disk has a
// spelling too (\\.\C:\models\m.zrm).
bool IsInDeviceNamespace(const std::wstring& text) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return text.size() >= 4 && separator(text[0]) && separator(text[1]) && text[2] == L'.' &&
           separator(text[3]);
}

}  // namespace

// Windows reads a reserved name in any folder as the device itself, and spells
// its full path so: that is what it would open, known without opening a
// device. A path in the device namespace is judged by what it opens instead.
void RequireNoDeviceName(const std::filesystem::path& path) {
    if (!IsInDeviceNamespace(path.native()) && SystemPath(path).native().starts_with(LR"(\\.\)")) {
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

std::filesystem::path FinalPathOf(HANDLE handle) {
    std::wstring path(::GetFinalPathNameByHandleW(handle, nullptr, 0, 0), L'\0');
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) {
        return {};
    }
    path.resize(length);
    return std::filesystem::path(path);
}

}  // namespace morvane
