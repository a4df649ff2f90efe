#include "edit_control.h"

#include <QLineEdit>
#include <stdexcept>

namespace morvane::ui {

void CEdit::SetWindowText(const QString& text) {
    if (m_edit == nullptr) {
        throw std::logic_error("edit control used before the data exchange bound it");
    }
    m_edit->setText(text);
}

QString CEdit::GetWindowText() const {
    return m_edit != nullptr ? m_edit->text() : QString();
}

}  // namespace morvane::ui
