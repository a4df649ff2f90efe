#pragma once

#include <string>

namespace morvane::ui {

class CDialog;

// An edit field bound to a member by the data exchange, so that a dialog can
// set its text without owning the control.
class CEdit {
public:
    void Attach(CDialog& dialog, int id) {
        m_dialog = &dialog;
        m_id = id;
    }
    bool IsAttached() const { return m_dialog != nullptr; }

    void SetWindowText(const std::string& text);
    // Scrolls the field to its end, so that a text longer than the field
    // shows how it ends.
    void ShowEnd();
    // The text shown while the pointer rests on the field.
    void SetToolTip(const std::string& text);

private:
    CDialog& Dialog() const;

    CDialog* m_dialog = nullptr;
    int m_id = 0;
};

}  // namespace morvane::ui
