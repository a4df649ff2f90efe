#include "model/files/path_text.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <utility>

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

namespace {

// How much of a name Windows reads: all but the dots and spaces at its end,
// unless it is nothing else.
std::size_t readLength(std::wstring_view name) {
    const std::size_t kept = name.find_last_not_of(L". ");
    return kept == std::wstring_view::npos ? name.size() : kept + 1;
}

}  // namespace

std::filesystem::path NameKey(const std::filesystem::path& name) {
    std::wstring key = name.native();
    const std::size_t read = readLength(key);
    if (!key.starts_with(LR"(\\?\)") && read > 0 && key[read - 1] != L'\\' &&
        key[read - 1] != L'/') {
        key.resize(read);
    }
    ::CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    return std::filesystem::path(key);
}

std::filesystem::path NamesAsRead(const std::filesystem::path& path) {
    std::filesystem::path read;
    for (const std::filesystem::path& part : path) {
        const std::wstring& name = part.native();
        read /= name.substr(0, readLength(name));
    }
    return read;
}

std::filesystem::path SystemPath(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.empty() || text.starts_with(LR"(\\?\)") || text.starts_with(LR"(\\.\)")) {
        return path;
    }
    std::wstring full(::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        ::GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return path;
    }
    full.resize(length);
    if (full.starts_with(LR"(\\.\)") || full.starts_with(LR"(\\?\)")) {
        return full;
    }
    return full.starts_with(LR"(\\)") ? LR"(\\?\UNC\)" + full.substr(2) : LR"(\\?\)" + full;
}

namespace {

// The system spells a final path in its \\?\ form, which people do not write.
std::filesystem::path AsPeopleWriteIt(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.starts_with(LR"(\\?\UNC\)")) {
        return LR"(\\)" + text.substr(8);
    }
    return text.starts_with(LR"(\\?\)") ? std::filesystem::path(text.substr(4)) : path;
}

bool IsPattern(const std::wstring& name) {
    return name.find_first_of(L"*?") != std::wstring::npos;
}

// \\.\ or //./ in front: the device namespace, where a file on disk has a
// spelling too (\\.\C:\models\m.zrm).
bool IsInDeviceNamespace(const std::wstring& text) {
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    return text.size() >= 4 && separator(text[0]) && separator(text[1]) && text[2] == L'.' &&
           separator(text[3]);
}

// `*` stands for any run of characters and `?` for one, in names compared as
// Windows compares them; the system's own search also matches the short 8.3
// names, which no one sees.
bool Matches(std::wstring_view pattern, std::wstring_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::wstring_view::npos;
    std::size_t resumed = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            star = p++;
            resumed = n;
        } else if (star != std::wstring_view::npos) {
            p = star + 1;
            n = ++resumed;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

// The folder itself and the one above it, which a search lists among what
// the folder holds.
bool IsFolderItself(const std::wstring& name) {
    return name == L"." || name == L"..";
}

}  // namespace

std::filesystem::path PathOfFound(const std::filesystem::path& folder,
                                  const std::filesystem::path& name) {
    const std::filesystem::path spelled = folder / name;
    const std::filesystem::path exact = SystemPath(folder.empty() ? L"." : folder) / name;
    return SystemPath(spelled).native() == exact.native() ? spelled : exact;
}

bool HoldsWildcard(const std::filesystem::path& name) {
    return IsPattern(name.filename().native());
}

// Windows reads a reserved name in any folder as the device itself, and spells
// its full path so: that is what it would open, known without opening a
// device. A path in the device namespace is judged by what it opens instead.
bool IsReservedDeviceName(const std::filesystem::path& name) {
    return !IsInDeviceNamespace(name.native()) && SystemPath(name).native().starts_with(LR"(\\.\)");
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(TextOf(AsPeopleWriteIt(path)));
}

std::vector<std::filesystem::path> ModelsNamedBy(const std::filesystem::path& argument,
                                                 bool withFolders) {
    const std::wstring pattern = argument.filename().native();
    if (!IsPattern(pattern)) {
        return {argument};
    }
    const std::wstring key = NameKey(pattern).native();
    std::vector<std::filesystem::path> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(SystemPath(argument).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return {argument};
    }
    do {
        const std::filesystem::path name(found.cFileName);
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((!folder || (withFolders && !IsFolderItself(name.native()))) &&
            Matches(key, NameKey(name).native())) {
            names.push_back(name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    if (names.empty()) {
        return {argument};
    }
    // Names that Windows reads as one ("a.zrm", "a.zrm.") stand in a fixed order.
    std::ranges::sort(names, [](const auto& a, const auto& b) {
        return std::pair(NameKey(a), a.native()) < std::pair(NameKey(b), b.native());
    });
    std::vector<std::filesystem::path> models;
    for (const std::filesystem::path& name : names) {
        models.push_back(PathOfFound(argument.parent_path(), name));
    }
    return models;
}

}  // namespace morvane
