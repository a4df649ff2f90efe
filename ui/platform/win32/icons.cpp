#include "windows_api.h"

namespace morvane::ui {

CIcon LoadIcon(int id) {
    if (::FindResourceW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_GROUP_ICON) ==
        nullptr) {
        return {};
    }
    return CIcon(std::make_shared<const CIcon::Native>(CIcon::Native{id}));
}

HICON LoadIconForDpi(const CIcon& icon, bool big, UINT dpi) {
    if (icon.native() == nullptr) {
        return nullptr;
    }
    const int size = ::GetSystemMetricsForDpi(big ? SM_CXICON : SM_CXSMICON, dpi);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(icon.native()->id), IMAGE_ICON, size,
                                           size, LR_DEFAULTCOLOR));
}

}  // namespace morvane::ui
