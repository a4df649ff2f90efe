#include "windows_api.h"
//
#include <commdlg.h>

#include <string>

#include "platform/system_file_chooser.h"

namespace morvane::ui {
namespace {

// The longest path the system's file calls take.
constexpr std::size_t kPathCharacters = 32768;

// The filter's name, then its pattern, each ending in a null, and a null after
// the last filter.
std::wstring FilterList() {
    return Widen(ModelFilesFilter()) + std::wstring(L"\0*.zrm\0", 8);
}

// What the chooser is asked: the settings and the buffers they point to.
struct OpenFileRequest {
    explicit OpenFileRequest(const ChooserRequest& request);
    OpenFileRequest(const OpenFileRequest&) = delete;
    OpenFileRequest& operator=(const OpenFileRequest&) = delete;

    std::wstring title;
    std::wstring folder;
    std::wstring filter = FilterList();
    std::wstring file;  // the initial name in, the chosen path out
    OPENFILENAMEW settings{};
};

OpenFileRequest::OpenFileRequest(const ChooserRequest& request)
    : title(Widen(request.title)), folder(request.folder.native()), file(L"*.zrm") {
    file.resize(kPathCharacters, L'\0');
    settings.lStructSize = sizeof settings;
    settings.hwndOwner = ::GetActiveWindow();
    settings.lpstrFilter = filter.c_str();
    settings.nFilterIndex = 1;
    settings.lpstrFile = file.data();
    settings.nMaxFile = static_cast<DWORD>(file.size());
    settings.lpstrTitle = title.c_str();
    settings.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    settings.lpstrDefExt = L"zrm";
    settings.Flags = OFN_EXPLORER |
                     (request.accepts == ChooserRequest::Accepts::ExistingFile ? OFN_FILEMUSTEXIST
                                                                               : OFN_PATHMUSTEXIST);
}

}  // namespace

// The system's file-opening chooser serves for saving too: it neither asks
// before a name is overwritten nor hides the read-only check box.
std::optional<std::filesystem::path> SystemFileChooser::Choose(const ChooserRequest& request) {
    OpenFileRequest ask(request);
    if (::GetOpenFileNameW(&ask.settings) == FALSE) {
        return std::nullopt;
    }
    return std::filesystem::path(ask.file.c_str());
}

}  // namespace morvane::ui
