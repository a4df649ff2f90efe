#pragma once

#include <QDialog>
#include <QMenu>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/icons.h"
#include "platform/window_commands.h"
#include "resources/dialog_templates.h"

namespace morvane::ui {

class CDataExchange;
class CDialog;

// The window's own menu, offered on a right click; commands chosen from it go
// to the dialog's OnSysCommand.
class CMenu : public QMenu {
public:
    explicit CMenu(CDialog& dialog);

    void AppendMenu(unsigned flags, int commandId = 0, std::string_view text = {});

private:
    CDialog& m_dialog;
};

// The Qt rendering of a template dialog (see platform/dialog.h). Commands from
// its push buttons and its window menu are routed to the virtual handlers, so
// that derived dialogs only say what is their own.
class CDialog : public QDialog {
public:
    explicit CDialog(int templateId, CDialog* parent = nullptr);

    // Shows the dialog and waits until it closes.
    int DoModal();
    // Runs DoDataExchange; false when a value was refused.
    bool UpdateData(bool saveAndValidate = true);

    QWidget* GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    // Puts the focus on a field, its text selected.
    void GotoDlgCtrl(int id);

    // The window's own menu, or null.
    CMenu* GetSystemMenu() { return &m_systemMenu; }
    void SetIcon(const CIcon& icon, bool big);
    // Files dropped anywhere on the window are offered to CanDropFiles and OnDropFiles.
    void DragAcceptFiles();
    // A modal box over the window.
    void ShowMessage(MessageKind kind, const std::string& text);
    // A warning whose default, and Escape's answer, is No.
    bool AskYesNo(const std::string& text);
    // Runs call once the current message is done.
    void PostCall(std::function<void()> call);

    virtual void OnSysCommand(int commandId);

protected:
    // Runs once, when the dialog is first shown; returning true puts the
    // focus on the first control that takes it.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnCommand(int id);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnPaint();
    virtual bool CanDropFiles(const std::vector<std::filesystem::path>& files) const;
    virtual void OnDropFiles(const std::vector<std::filesystem::path>& files);
    void EndDialog(int result) { done(result); }
    void DefaultSysCommand(int commandId);
    bool IsIconic() const { return isMinimized(); }
    // Only painted where the window system lets a minimised window paint itself.
    void PaintIconCentred(const CIcon& icon);

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }

private:
    void ApplyWindowStyle();
    void CreateControls();
    void LabelFields();
    void RouteButton(QWidget* control, int id);
    void FocusFirstTabStop();
    void AnswerDrag(QDropEvent& event) const;

    const res::DialogTemplate& m_template;
    std::vector<QWidget*> m_controlsInOrder;
    std::map<int, QWidget*> m_controlsById;
    CMenu m_systemMenu;
    QPaintEvent* m_paintEvent = nullptr;
    bool m_initialised = false;
};

}  // namespace morvane::ui
