#include "native_icon.h"

namespace morvane::ui {
namespace {

HICON LoadSized(int id, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                           IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

CIcon LoadIcon(int id) {
    const HICON big = LoadSized(id, SM_CXICON, SM_CYICON);
    if (big == nullptr) {
        return {};
    }
    return CIcon(std::make_shared<const CIcon::Native>(
        CIcon::Native{big, LoadSized(id, SM_CXSMICON, SM_CYSMICON)}));
}

}  // namespace morvane::ui
