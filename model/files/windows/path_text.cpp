#include "model/files/path_text.h"

#include <windows.h>

namespace morvane {

std::filesystem::path PathFromText(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, converted.data(), wide);
    return std::filesystem::path(converted);
}

std::string TextOf(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, converted.data(), bytes, nullptr, nullptr);
    return converted;
}

std::filesystem::path NameKey(const std::filesystem::path& name) {
    std::wstring key = name.native();
    const std::size_t kept = key.find_last_not_of(L". ");
    if (kept != std::wstring::npos && key[kept] != L'\\' && key[kept] != L'/') {
        key.resize(kept + 1);
    }
    ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return std::filesystem::path(key);
}

}  // namespace morvane
