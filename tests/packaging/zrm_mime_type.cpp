#include <QMimeDatabase>
#include <QMimeType>
#include <QString>
#include <cstdio>

// Prints the MIME type the desktop gives each file, one line per file, the
// way a Qt program sees it through the shared-mime-info folders in
// XDG_DATA_DIRS; "none" when those folders define no type that fits.
int main(int argc, char** argv) {
    QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QMimeType type = database.mimeTypeForFile(QString::fromLocal8Bit(argv[i]));
        std::printf("%s\n", type.isValid() ? type.name().toLocal8Bit().constData() : "none");
    }
    return 0;
}
