#include "platform/edit_control.h"

#include <stdexcept>

#include "platform/dialog.h"

namespace morvane::ui {

void CEdit::SetWindowText(const std::string& text) {
    if (m_dialog == nullptr) {
        throw std::logic_error("edit control used before the data exchange bound it");
    }
    m_dialog->SetDlgItemText(m_id, text);
}

}  // namespace morvane::ui
