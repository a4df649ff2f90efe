#include "platform/edit_control.h"

#include <stdexcept>

#include "platform/dialog.h"

namespace morvane::ui {

CDialog& CEdit::Dialog() const {
    if (m_dialog == nullptr) {
        throw std::logic_error("edit control used before the data exchange bound it");
    }
    return *m_dialog;
}

void CEdit::SetWindowText(const std::string& text) {
    Dialog().SetDlgItemText(m_id, text);
}

void CEdit::ShowEnd() {
    Dialog().ShowEndOfDlgItem(m_id);
}

void CEdit::SetToolTip(const std::string& text) {
    Dialog().SetDlgItemToolTip(m_id, text);
}

}  // namespace morvane::ui
