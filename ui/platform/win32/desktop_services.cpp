#include "windows_api.h"
//
#include <string>

#include "platform/desktop_services.h"

namespace morvane::ui {

// The shell answers with a number above 32 once it has handed the document on.
bool SystemDocumentOpener::Open(const std::filesystem::path& document) {
    const auto answer = reinterpret_cast<INT_PTR>(::ShellExecuteW(
        ::GetActiveWindow(), L"open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return answer > 32;
}

std::filesystem::path ProgramFolder() {
    std::wstring program(32768, L'\0');
    program.resize(
        ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    return std::filesystem::path(program).parent_path();
}

std::filesystem::path InstalledGuideFolder() {
    return ProgramFolder() / "guide";
}

}  // namespace morvane::ui
