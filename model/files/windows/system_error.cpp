#include "model/files/windows/system_error.h"

#include "model/files/path_text.h"

namespace morvane {

namespace {

// Not a Windows error code: set apart for a model another program writes.
constexpr int kOpenForWritingElsewhere = -1;

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
