#include "platform/system_settings.h"

#include <QByteArray>
#include <QSettings>
#include <string>

namespace morvane::ui {
namespace {

const QString kLastModelFolder = QStringLiteral("LastModelFolder");

// A folder's name is kept as the bytes the system names it by, which need
// not be UTF-8.
QByteArray BytesOf(const std::filesystem::path& path) {
    return QByteArray::fromStdString(path.native());
}

}  // namespace

std::filesystem::path SystemSettings::LastModelFolder() const {
    return QSettings("morvane", "morvane").value(kLastModelFolder).toByteArray().toStdString();
}

void SystemSettings::KeepLastModelFolder(const std::filesystem::path& folder) {
    QSettings("morvane", "morvane").setValue(kLastModelFolder, BytesOf(folder));
}

}  // namespace morvane::ui
