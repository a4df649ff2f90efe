#pragma once

#include <QString>

class QLineEdit;

namespace morvane::ui {

// An edit field bound to a member by the data exchange, so that a dialog can
// set its text without owning the widget.
class CEdit {
public:
    void Attach(QLineEdit* edit) { m_edit = edit; }
    bool IsAttached() const { return m_edit != nullptr; }

    void SetWindowText(const QString& text);
    QString GetWindowText() const;

private:
    QLineEdit* m_edit = nullptr;
};

}  // namespace morvane::ui
