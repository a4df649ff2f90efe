#include "platform/icons.h"

namespace morvane::ui {

PixelPoint MinimisedIconPosition(PixelSize client, PixelSize icon) {
    return {(client.width - icon.width + 1) / 2, (client.height - icon.height + 1) / 2};
}

}  // namespace morvane::ui
