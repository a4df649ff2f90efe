#include "windows_api.h"
//
#include <string>

#include "platform/system_settings.h"

namespace morvane::ui {
namespace {

constexpr const wchar_t* kKey = L"Software\\morvane\\morvane";
constexpr const wchar_t* kLastModelFolder = L"LastModelFolder";

}  // namespace

std::filesystem::path SystemSettings::LastModelFolder() const {
    DWORD bytes = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kLastModelFolder, RRF_RT_REG_SZ, nullptr, nullptr,
                       &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring folder(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, kLastModelFolder, RRF_RT_REG_SZ, nullptr,
                       folder.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    folder.resize(bytes / sizeof(wchar_t));
    while (!folder.empty() && folder.back() == L'\0') {
        folder.pop_back();
    }
    return folder;
}

void SystemSettings::KeepLastModelFolder(const std::filesystem::path& folder) {
    const std::wstring& text = folder.native();
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kLastModelFolder, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace morvane::ui
