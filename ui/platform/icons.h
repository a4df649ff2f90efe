#pragma once

#include <QIcon>
#include <QPoint>
#include <QSize>

namespace morvane::ui {

// The icon resource with the given id in all the sizes it was drawn for; a
// null icon when there is none.
QIcon LoadIcon(int id);

// Where a minimised window draws its icon: centred, rounding as the original
// platform does.
QPoint MinimisedIconPosition(QSize client, QSize icon);

}  // namespace morvane::ui
