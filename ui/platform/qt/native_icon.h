#pragma once

#include <QIcon>

#include "platform/icons.h"

namespace morvane::ui {

struct CIcon::Native {
    QIcon icon;
};

QIcon LoadQIcon(int id);

}  // namespace morvane::ui
