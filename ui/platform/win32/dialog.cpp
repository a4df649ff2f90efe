#include <oleacc.h>

#include <stdexcept>
#include <utility>

#include "dialog_template.h"
#include "native_dialog.h"
#include "native_icon.h"
#include "platform/data_exchange.h"
#include "resources/resource.h"
#include "wide_text.h"

namespace morvane::ui {
namespace {

// Active Accessibility's annotation service, its interface and the name
// property, spelt out as the system's documentation gives them.
constexpr CLSID kAccPropServices{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kAccessibleName{
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Posted to the dialog itself: the calls queued by PostCall are due.
constexpr UINT kRunPostedCalls = WM_APP + 1;

UINT BoxIcon(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return MB_ICONERROR;
        case MessageKind::Warning:
            return MB_ICONWARNING;
        case MessageKind::Note:
            return MB_ICONINFORMATION;
    }
    return 0;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::filesystem::path DroppedFile(HDROP drop, UINT index) {
    std::wstring name(::DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
    name.resize(::DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
    return name;
}

}  // namespace

void CMenu::AppendMenu(unsigned flags, int commandId, std::string_view text) {
    if ((flags & MF_SEPARATOR) != 0) {
        ::AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    ::AppendMenuW(m_menu, flags, static_cast<UINT_PTR>(commandId), Widen(text).c_str());
}

CDialog::CDialog(int templateId, CDialog* parent)
    : m_template(res::FindDialogTemplate(templateId)), m_parent(parent) {}

int CDialog::DoModal() {
    const InMemoryTemplate dialogTemplate = TemplateFor(m_template);
    // For the names given to assistive technology while the dialog lives.
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const HWND owner = m_parent != nullptr ? m_parent->GetSafeHwnd() : nullptr;
    const INT_PTR result =
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(), owner,
                                  &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    m_systemMenu = CMenu(nullptr);
    for (HICON& shown : m_shownIcons) {
        if (shown != nullptr) {
            ::DestroyIcon(std::exchange(shown, nullptr));
        }
    }
    if (com) {
        ::CoUninitialize();
    }
    return static_cast<int>(result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        return dialog->InitDialog(window);
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) {
        return FALSE;
    }
    const bool nested = dialog->m_inMessage;
    const bool defaultWanted = dialog->m_defaultWanted;
    dialog->m_inMessage = true;
    dialog->m_defaultWanted = false;
    INT_PTR handled = dialog->OnMessage(message, wParam, lParam);
    if (dialog->m_defaultWanted) {
        handled = FALSE;
    }
    dialog->m_inMessage = nested;
    dialog->m_defaultWanted = defaultWanted;
    return handled;
}

INT_PTR CDialog::InitDialog(HWND window) {
    m_hWnd = window;
    if (m_acceptsFiles) {
        ::DragAcceptFiles(window, TRUE);
    }
    NameControlsWithoutLabels();
    return OnInitDialog() ? TRUE : FALSE;
}

// Windows names a field for a screen reader by the text before it; a field
// with none is given the name its template gives it.
void CDialog::NameControlsWithoutLabels() {
    IAccPropServices* properties = nullptr;
    if (SUCCEEDED(::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                     kAccPropServicesInterface,
                                     reinterpret_cast<void**>(&properties)))) {
        for (const res::ControlTemplate& control : m_template.controls) {
            const HWND field = GetDlgItem(control.id);
            if (!control.accessibleName.empty() && field != nullptr) {
                properties->SetHwndPropStr(field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           kAccessibleName, Widen(control.accessibleName).c_str());
            }
        }
        properties->Release();
    }
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCommand(LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_SYSCOMMAND:
            OnSysCommand(static_cast<int>(wParam));
            return TRUE;
        // The system scales the dialog, its font and its place itself.
        case WM_DPICHANGED:
            ShowIcon(true, HIWORD(wParam));
            ShowIcon(false, HIWORD(wParam));
            return FALSE;
        case WM_PAINT:
            OnPaint();
            return TRUE;
        case WM_DROPFILES:
            DropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case kRunPostedCalls:
            RunPostedCalls();
            return TRUE;
        default:
            (void)lParam;
            return FALSE;
    }
}

// WM_DROPFILES cannot turn a drag away at the cursor; what the dialog does
// not take is let go here without a word, as a refused drag on Linux is.
void CDialog::DropFiles(HDROP drop) {
    std::vector<std::filesystem::path> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        files.push_back(DroppedFile(drop, i));
    }
    ::DragFinish(drop);
    if (CanDropFiles(files)) {
        OnDropFiles(files);
    }
}

HWND CDialog::GetDlgItem(int id) const {
    return ::GetDlgItem(m_hWnd, id);
}

std::string CDialog::GetDlgItemText(int id) const {
    return Narrow(WindowText(GetDlgItem(id)));
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (GetDlgItem(id) == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is not in the dialog");
    }
    ::SetDlgItemTextW(m_hWnd, id, Widen(text).c_str());
}

void CDialog::GotoDlgCtrl(int id) {
    const HWND control = GetDlgItem(id);
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    ::SendMessageW(control, EM_SETSEL, 0, -1);
}

CMenu* CDialog::GetSystemMenu() {
    const HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu == nullptr) {
        return nullptr;
    }
    m_systemMenu = CMenu(menu);
    return &m_systemMenu;
}

void CDialog::SetIcon(const CIcon& icon, bool big) {
    m_icons[big ? 1 : 0] = icon;
    ShowIcon(big, ::GetDpiForWindow(m_hWnd));
}

// At the size for the display the window is on; drawn again when it moves to
// another.
void CDialog::ShowIcon(bool big, UINT dpi) {
    HICON& shown = m_shownIcons[big ? 1 : 0];
    const HICON loaded = LoadIconForDpi(m_icons[big ? 1 : 0], big, dpi);
    if (loaded == nullptr) {
        return;
    }
    ::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(loaded));
    if (shown != nullptr) {
        ::DestroyIcon(shown);
    }
    shown = loaded;
}

void CDialog::DragAcceptFiles() {
    m_acceptsFiles = true;
    if (m_hWnd != nullptr) {
        ::DragAcceptFiles(m_hWnd, TRUE);
    }
}

std::wstring CDialog::Caption() const {
    return m_hWnd != nullptr ? WindowText(m_hWnd) : Widen(m_template.caption);
}

void CDialog::ShowMessage(MessageKind kind, const std::string& text) {
    ::MessageBoxW(m_hWnd, Widen(text).c_str(), Caption().c_str(), MB_OK | BoxIcon(kind));
}

bool CDialog::AskYesNo(const std::string& text) {
    return ::MessageBoxW(m_hWnd, Widen(text).c_str(), Caption().c_str(),
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void CDialog::PostCall(std::function<void()> call) {
    m_postedCalls.push_back(std::move(call));
    ::PostMessageW(m_hWnd, kRunPostedCalls, 0, 0);
}

void CDialog::RunPostedCalls() {
    if (m_postedCalls.empty()) {
        return;
    }
    const std::function<void()> call = std::move(m_postedCalls.front());
    m_postedCalls.pop_front();
    call();
}

void CDialog::OnSysCommand(int commandId) {
    DefaultSysCommand(commandId);
}

void CDialog::DefaultSysCommand(int commandId) {
    if (m_inMessage) {
        m_defaultWanted = true;
    } else {
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, static_cast<WPARAM>(commandId), 0);
    }
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

void CDialog::OnPaint() {
    m_defaultWanted = true;
}

bool CDialog::IsIconic() const {
    return ::IsIconic(m_hWnd) != FALSE;
}

void CDialog::PaintIconCentred(const CIcon& icon) {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const UINT dpi = ::GetDpiForWindow(m_hWnd);
    const int size = ::GetSystemMetricsForDpi(SM_CXICON, dpi);
    const PixelPoint at = MinimisedIconPosition(
        {client.right - client.left, client.bottom - client.top}, {size, size});
    if (const HICON drawn = LoadIconForDpi(icon, true, dpi)) {
        ::DrawIconEx(dc, at.x, at.y, drawn, size, size, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(drawn);
    }
    ::EndPaint(m_hWnd, &paint);
}

bool CDialog::CanDropFiles(const std::vector<std::filesystem::path>&) const {
    return false;
}

}  // namespace morvane::ui
