#include <QFile>
#include <array>

#include "widgets.h"

// The resources are compiled into a static library, whose registration the
// linker would otherwise drop; it must be named outside any namespace.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(morvane);
}

namespace morvane::ui {

QIcon LoadQIcon(int id) {
    RegisterIconResources();
    QIcon icon;
    for (const int size : std::array{16, 32, 48}) {
        const QString file = QString(":/icons/%1/%2.png").arg(id).arg(size);
        if (QFile::exists(file)) {
            icon.addFile(file, QSize(size, size));
        }
    }
    return icon;
}

CIcon LoadIcon(int id) {
    return CIcon(std::make_shared<const CIcon::Native>(CIcon::Native{LoadQIcon(id)}));
}

}  // namespace morvane::ui
