#include "platform/desktop_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace morvane::ui {

bool SystemDocumentOpener::Open(const std::filesystem::path& document) {
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdU16String(document.u16string())));
}

std::filesystem::path InstalledGuideFolder() {
    const std::filesystem::path programs(QCoreApplication::applicationDirPath().toStdU16String());
    return programs.parent_path() / "share" / "morvane" / "guide";
}

}  // namespace morvane::ui
