#pragma once

#include <windows.h>
//
#include <shellapi.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/icons.h"
#include "platform/window_commands.h"
#include "resources/dialog_templates.h"

namespace morvane::ui {

class CDataExchange;

// The window's system menu.
class CMenu {
public:
    explicit CMenu(HMENU menu) : m_menu(menu) {}

    void AppendMenu(unsigned flags, int commandId = 0, std::string_view text = {});

private:
    HMENU m_menu;
};

// The Win32 rendering of a template dialog (see platform/dialog.h): the
// template data becomes an in-memory dialog template, and the window
// messages are routed to the virtual handlers.
class CDialog {
public:
    explicit CDialog(int templateId, CDialog* parent = nullptr);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    int DoModal();
    bool UpdateData(bool saveAndValidate = true);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void GotoDlgCtrl(int id);

    CMenu* GetSystemMenu();
    void SetIcon(const CIcon& icon, bool big);
    void DragAcceptFiles();
    void ShowMessage(MessageKind kind, const std::string& text);
    bool AskYesNo(const std::string& text);
    void PostCall(std::function<void()> call);

    virtual void OnSysCommand(int commandId);

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnCommand(int id);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnPaint();
    virtual bool CanDropFiles(const std::vector<std::filesystem::path>& files) const;
    virtual void OnDropFiles(const std::vector<std::filesystem::path>& files);
    void EndDialog(int result);
    // Lets the system do what it does with the command: move, minimise, close.
    void DefaultSysCommand(int commandId);
    bool IsIconic() const;
    void PaintIconCentred(const CIcon& icon);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR InitDialog(HWND window);
    void NameControlsWithoutLabels();
    void ShowIcon(bool big, UINT dpi);
    void DropFiles(HDROP drop);
    void RunPostedCalls();
    std::wstring Caption() const;

    const res::DialogTemplate& m_template;
    CDialog* m_parent;
    HWND m_hWnd = nullptr;
    CMenu m_systemMenu{nullptr};
    bool m_acceptsFiles = false;
    // Set by the default handlers while a message is handled: the system's
    // dialog procedure then does its own work with it.
    bool m_defaultWanted = false;
    bool m_inMessage = false;
    std::deque<std::function<void()>> m_postedCalls;
    // The small and the big icon, and those loaded for the window's display.
    CIcon m_icons[2];
    HICON m_shownIcons[2] = {nullptr, nullptr};
};

}  // namespace morvane::ui
