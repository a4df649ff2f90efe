#include "platform/desktop_services.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace morvane::ui {

bool SystemDocumentOpener::Open(const std::filesystem::path& document) {
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdU16String(document.u16string())));
}

// Read from the system, as the program may ask before it has a Qt
// application to ask.
std::filesystem::path ProgramFolder() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

std::filesystem::path InstalledGuideFolder() {
    return ProgramFolder().parent_path() / "share" / "morvane" / "guide";
}

}  // namespace morvane::ui
