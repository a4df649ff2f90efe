#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace morvane::ui {

class CDialog;

// Opens a document in the program the desktop keeps for its kind: a web page
// in the browser. The help goes through this so that what it opens can be
// checked without a browser.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;

    // Whether the desktop took the document.
    virtual bool Open(const std::filesystem::path& document) = 0;
};

// The application's help, which ID_HELP asks for from its window (F1, the
// window menu's Help): the user guide, one HTML page a language in a folder
// installed with the program, opened in the desktop's browser.
class UserGuide {
public:
    UserGuide(DocumentOpener& desktop, std::filesystem::path folder);

    // Opens the page in the window's language; what keeps it from opening is
    // told in a box over the window.
    void OnHelp(CDialog& window);

private:
    DocumentOpener& m_desktop;
    std::filesystem::path m_folder;
};

// The guide's page in the language ("de", "pt_BR"...), or the English one
// where the language has none; nothing when neither is there.
std::optional<std::filesystem::path> GuidePage(const std::filesystem::path& folder,
                                               std::string_view language);

}  // namespace morvane::ui
