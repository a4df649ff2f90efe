#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/icons.h"
#include "platform/window_commands.h"

namespace morvane::ui {

class CDataExchange;
class CDialog;

// The window's own menu: the system menu on Windows, the menu a right click
// opens on Linux. Commands chosen from it go to the dialog's OnSysCommand.
class CMenu {
public:
    explicit CMenu(CDialog& dialog) : m_dialog(dialog) {}

    void AppendMenu(unsigned flags, int commandId = 0, std::string_view text = {});

private:
    CDialog& m_dialog;
};

// A dialog built at run time from a template in the resources, one source on
// every platform: the rendering the build picks (Qt on Linux, Win32 on
// Windows) makes the template's window, its Native, and routes the commands
// from its push buttons and its window menu to the virtual handlers, so that
// derived dialogs only say what is their own.
class CDialog {
public:
    // The rendering's window; only the rendering knows what it holds.
    struct Native;

    explicit CDialog(int templateId, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog and waits until it closes.
    int DoModal();
    // Runs DoDataExchange; false when a value was refused.
    bool UpdateData(bool saveAndValidate = true);

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    // Scrolls a field so that the end of its text shows.
    void ShowEndOfDlgItem(int id);
    // The text shown while the pointer rests on a control.
    void SetDlgItemToolTip(int id, const std::string& text);
    // Puts the focus on a field, its text selected.
    void GotoDlgCtrl(int id);

    // The window's own menu, or null when it has none.
    CMenu* GetSystemMenu();
    void SetIcon(const CIcon& icon, bool big);
    // Files dropped anywhere on the window are offered to CanDropFiles and
    // OnDropFiles.
    void DragAcceptFiles();
    // A modal box over the window. Details, a technical line for whoever
    // wants it, stand apart from the text: under it, or on request.
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& details = {});
    // A warning whose default, and Escape's answer, is No.
    bool AskYesNo(const std::string& text);
    // Runs call once the current message is done.
    void PostCall(std::function<void()> call);

    virtual void OnSysCommand(int commandId);

    Native& native() const { return *m_native; }

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
    void EndDialog(int result);
    // Lets the window system do what it does with the command: move,
    // minimise, close.
    void DefaultSysCommand(int commandId);
    bool IsIconic() const;
    // Only painted where the window system lets a minimised window paint
    // itself.
    void PaintIconCentred(const CIcon& icon);

private:
    std::unique_ptr<Native> m_native;
    CMenu m_systemMenu{*this};
};

}  // namespace morvane::ui
