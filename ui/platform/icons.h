#pragma once

#include <memory>

#include "platform/pixels.h"

namespace morvane::ui {

// An icon resource as the rendering holds it; empty when there is none.
class CIcon {
public:
    struct Native;

    CIcon() = default;
    explicit CIcon(std::shared_ptr<const Native> native) : m_native(std::move(native)) {}

    const Native* native() const { return m_native.get(); }

private:
    std::shared_ptr<const Native> m_native;
};

// The icon resource with the given id, in all the sizes it was drawn for.
CIcon LoadIcon(int id);

// Where a minimised window draws its icon: centred, rounding as the original
// platform does.
PixelPoint MinimisedIconPosition(PixelSize client, PixelSize icon);

}  // namespace morvane::ui
