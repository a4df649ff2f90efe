#include "model/files/windows/system_error.h"

#include "model/errors.h"
#include "model/files/path_text.h"

namespace morvane {

std::string SystemMessage(DWORD error) {
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

void FailWithSystemError(const std::string& what, DWORD error) {
    throw FileError(what + ": " + SystemMessage(error));
}

}  // namespace morvane
