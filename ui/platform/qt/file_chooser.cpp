#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <string>

#include "platform/system_file_chooser.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

bool FolderExists(const QString& file) {
    return QFileInfo(file).absoluteDir().exists();
}

// Qt's own dialog takes any typed name in AnyFile mode, even in a folder that
// does not exist; such a name cannot be written, so the user is asked again.
std::optional<QString> AskUntilFolderExists(QFileDialog& dialog) {
    while (dialog.exec() == QDialog::Accepted) {
        const QString chosen = dialog.selectedFiles().value(0);
        if (FolderExists(chosen)) {
            return chosen;
        }
        QMessageBox::warning(
            &dialog, QApplication::applicationName(),
            QString::fromStdString(Substitute(Tr("FileChooser", "The folder of %1 does not exist."),
                                              {QDir::toNativeSeparators(chosen).toStdString()})));
    }
    return std::nullopt;
}

void ConfigureFileDialog(QFileDialog& dialog, const ChooserRequest& request) {
    dialog.setWindowTitle(QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QString::fromStdString(ModelFilesFilter()));
    dialog.setDefaultSuffix("zrm");
    if (!request.folder.empty()) {
        dialog.setDirectory(QString::fromStdU16String(request.folder.u16string()));
    }
    dialog.selectFile("*.zrm");
    if (request.accepts == ChooserRequest::Accepts::ExistingFile) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
}

std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

}  // namespace

std::optional<std::filesystem::path> SystemFileChooser::Choose(const ChooserRequest& request) {
    QFileDialog dialog;
    ConfigureFileDialog(dialog, request);
    const std::optional<QString> chosen = AskUntilFolderExists(dialog);
    if (!chosen) {
        return std::nullopt;
    }
    return ToPath(*chosen);
}

}  // namespace morvane::ui
