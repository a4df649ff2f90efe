#include "user_guide.h"

#include <string>
#include <system_error>
#include <utility>

#include "file_chooser.h"
#include "model/files/path_text.h"
#include "platform/dialog.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

std::optional<std::filesystem::path> PageIfThere(const std::filesystem::path& folder,
                                                 std::string_view language) {
    const std::filesystem::path page = folder / (std::string(language) + ".html");
    std::error_code error;
    if (!std::filesystem::is_regular_file(SystemPath(page), error)) {
        return std::nullopt;
    }
    return page;
}

}  // namespace

UserGuide::UserGuide(DocumentOpener& desktop, std::filesystem::path folder)
    : m_desktop(desktop), m_folder(std::move(folder)) {}

void UserGuide::OnHelp(CDialog& window) {
    const std::optional<std::filesystem::path> page = GuidePage(m_folder, WindowLanguage());
    if (!page) {
        window.ShowMessage(MessageKind::Error,
                           Substitute(Tr("UserGuide",
                                         "The user guide is missing from '%1'. Install morvane "
                                         "again to put it back."),
                                      {DisplayText(m_folder)}));
    } else if (!m_desktop.Open(*page)) {
        window.ShowMessage(MessageKind::Error,
                           Substitute(Tr("UserGuide",
                                         "The desktop has no program to show the user guide in. "
                                         "Open '%1' in a web browser."),
                                      {DisplayText(*page)}));
    }
}

std::optional<std::filesystem::path> GuidePage(const std::filesystem::path& folder,
                                               std::string_view language) {
    if (std::optional<std::filesystem::path> page = PageIfThere(folder, language)) {
        return page;
    }
    return PageIfThere(folder, "en");
}

}  // namespace morvane::ui
