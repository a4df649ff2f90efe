#include <QMimeDatabase>
#include <QMimeType>
#include <QString>
#include <cstdio>

// Prints the MIME type the desktop gives each file and the name of the icon
// it shows the file with, one line per file, the way a Qt program sees them
// through the shared-mime-info folders in XDG_DATA_DIRS; "none" when those
// folders define no type that fits.
int main(int argc, char** argv) {
    QMimeDatabase database;
    for (int i = 1; i < argc; ++i) {
        const QMimeType type = database.mimeTypeForFile(QString::fromLocal8Bit(argv[i]));
        if (type.isValid()) {
            std::printf("%s %s\n", type.name().toLocal8Bit().constData(),
                        type.iconName().toLocal8Bit().constData());
        } else {
            std::printf("none\n");
        }
    }
    return 0;
}
