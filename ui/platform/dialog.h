#pragma once

#include <QDialog>
#include <QMenu>
#include <map>
#include <vector>

#include "resources/dialog_templates.h"

namespace morvane::ui {

class CDataExchange;

// System commands that take the window manager's own path.
inline constexpr int SC_CLOSE = 0xF060;

// A dialog built at run time from a template in the resources. Commands from
// its push buttons and its window menu are routed to the virtual handlers, so
// that derived dialogs only say what is their own.
class CDialog : public QDialog {
public:
    explicit CDialog(int templateId, QWidget* parent = nullptr);

    // Shows the dialog and waits until it is closed; returns the id that ended it.
    int DoModal();

    // Runs the data exchange: true fetches and validates the controls into the
    // members, false rewrites the controls from the members. False when
    // validation failed; the user has then been told why.
    bool UpdateData(bool saveAndValidate = true);

    QWidget* GetDlgItem(int id) const;

    // The window's own menu, offered on a right click; it starts with the
    // standard commands and dialogs may append to it.
    QMenu* GetSystemMenu() { return &m_systemMenu; }
    void AppendMenu(QMenu& menu, int commandId, const QString& text);

    // What the window does with a command chosen from its window menu.
    virtual void OnSysCommand(int commandId);

protected:
    // Runs once, when the dialog is first shown; returning true puts the
    // focus on the first control that takes it.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnCommand(int id);
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result) { done(result); }
    void DefaultSysCommand(int commandId);

    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }

private:
    void ApplyWindowStyle();
    void CreateControls();
    void LabelFields();
    void RouteButton(QWidget* control, int id);
    void FocusFirstTabStop();

    const res::DialogTemplate& m_template;
    std::vector<QWidget*> m_controlsInOrder;
    std::map<int, QWidget*> m_controlsById;
    QMenu m_systemMenu;
    bool m_initialised = false;
};

}  // namespace morvane::ui
