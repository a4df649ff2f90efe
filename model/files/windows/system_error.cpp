#include "model/files/windows/system_error.h"

#include "model/files/path_text.h"

namespace morvane {

namespace {

// Not a Windows error code: set apart for a model another program writes.
constexpr int kOpenForWritingElsewhere = -1;
// ERROR_DISK_QUOTA_EXCEEDED, which not every Windows SDK's headers name.
constexpr int kDiskQuotaExceeded = 1295;

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "system error " + std::to_string(error);
    }
    std::wstring message(text, length);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    return TextOf(std::filesystem::path(message));
}

class WindowsCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }

    std::string message(int code) const override {
        if (code == kOpenForWritingElsewhere) {
            return "another program has it open for writing";
        }
        return systemMessage(static_cast<DWORD>(code));
    }

    // What people are told of a failure is picked from these generic errors.
    std::error_condition default_error_condition(int code) const noexcept override {
        switch (code) {
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS:
                return std::errc::file_exists;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                return std::errc::no_such_file_or_directory;
            case ERROR_TOO_MANY_OPEN_FILES:
                return std::errc::too_many_files_open;
            case ERROR_ACCESS_DENIED:
                return std::errc::permission_denied;
            case ERROR_NOT_SUPPORTED:
                return std::errc::not_supported;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL:
            case kDiskQuotaExceeded:
                return std::errc::no_space_on_device;
            case ERROR_FILE_TOO_LARGE:
                return std::errc::file_too_large;
            case ERROR_WRITE_PROTECT:
                return std::errc::read_only_file_system;
            case ERROR_NOT_ENOUGH_MEMORY:
            case ERROR_OUTOFMEMORY:
                return std::errc::not_enough_memory;
            case kOpenForWritingElsewhere:
            case ERROR_SHARING_VIOLATION:
            case ERROR_LOCK_VIOLATION:
                return std::errc::device_or_resource_busy;
            default:
                return {code, *this};
        }
    }
};

const WindowsCategory windowsCategory;

}  // namespace

std::error_code WindowsError(DWORD error) {
    return {static_cast<int>(error), windowsCategory};
}

std::error_code OpenForWritingElsewhere() {
    return {kOpenForWritingElsewhere, windowsCategory};
}

}  // namespace morvane
