#include "windows_api.h"
//
#include <commctrl.h>
#include <oleacc.h>

#include <deque>
#include <stdexcept>
#include <utility>

#include "dialog_template.h"
#include "platform/data_exchange.h"
#include "platform/translation.h"
#include "platform/window_placement.h"
#include "resources/resource.h"

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

// Marks a main window, so that the main window of another morvane that opens
// meanwhile can find it.
constexpr const wchar_t* kMainWindowProperty = L"morvane.MainWindow";

PixelRect PixelRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

PixelRect WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(monitor, &info);
    return PixelRectOf(info.rcWork);
}

PixelRect FrameOf(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return PixelRectOf(frame);
}

void MoveTo(HWND window, PixelPoint at) {
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The frontmost main window of another morvane that shows; a minimised one
// is covered by nothing.
HWND OtherMainWindow(HWND self) {
    std::pair<HWND, HWND> search{self, nullptr};  // this window, and the other found
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& [own, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(data);
            if (window != own && ::IsWindowVisible(window) && !::IsIconic(window) &&
                ::GetPropW(window, kMainWindowProperty) != nullptr) {
                found = window;
            }
            return found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Below and to the right of another morvane's window by the height of its
// caption, so that its caption still shows; or else in the middle of the
// work area of the monitor the program was started on, where the window it
// was started from is.
void PlaceMainWindow(HWND window) {
    const PixelRect frame = FrameOf(window);
    const PixelSize size{frame.width, frame.height};
    if (const HWND before = OtherMainWindow(window)) {
        const PixelRect other = FrameOf(before);
        POINT client{0, 0};
        ::ClientToScreen(before, &client);
        MoveTo(window,
               CascadedFrom({other.left, other.top}, size, client.y - other.top,
                            WorkAreaOf(::MonitorFromWindow(before, MONITOR_DEFAULTTONEAREST))));
    } else {
        const PixelRect area =
            WorkAreaOf(::MonitorFromWindow(::GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY));
        MoveTo(window, KeptIn(CentredIn(size, area), size, area));
    }
    ::SetPropW(window, kMainWindowProperty, reinterpret_cast<HANDLE>(1));
}

void CentreOver(HWND window, HWND owner) {
    const PixelRect frame = FrameOf(window);
    const PixelSize size{frame.width, frame.height};
    const PixelRect area = WorkAreaOf(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST));
    MoveTo(window, KeptIn(CentredIn(size, FrameOf(owner)), size, area));
}

// A tooltip shows at most this many characters.
constexpr std::size_t kLongestToolTip = 1023;

// A text too long for a tooltip loses its middle, so that it still shows how
// it begins and, in a path, the file's name at its end.
std::wstring FittedToolTip(std::wstring text) {
    if (text.size() <= kLongestToolTip) {
        return text;
    }
    std::size_t head = kLongestToolTip / 2;
    std::size_t tail = kLongestToolTip - head - 1;
    if (IS_HIGH_SURROGATE(text[head - 1])) {
        --head;
    }
    if (IS_LOW_SURROGATE(text[text.size() - tail])) {
        --tail;
    }
    return text.substr(0, head) + L"\u2026" + text.substr(text.size() - tail);
}

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

std::filesystem::path DroppedFile(HDROP drop, UINT index) {
    std::wstring name(::DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
    name.resize(::DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
    return name;
}

}  // namespace

// The template's window while DoModal runs: the template data becomes an
// in-memory dialog template, and the window messages go to the dialog's
// virtual handlers.
struct CDialog::Native {
    Native(CDialog& owner, const res::DialogTemplate& shape, CDialog* parentDialog)
        : dialog(owner), dialogTemplate(shape), parent(parentDialog) {}

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR InitDialog(HWND window);
    void Place();
    void NameControlsWithoutLabels();
    void ShowIcon(bool big, UINT dpi);
    void DropFiles(HDROP drop);
    void RunPostedCalls();
    std::wstring Caption() const;

    CDialog& dialog;
    const res::DialogTemplate& dialogTemplate;
    CDialog* parent;
    HWND hwnd = nullptr;
    bool acceptsFiles = false;
    // Set by the default handlers while a message is handled: the system's
    // dialog procedure then does its own work with it.
    bool defaultWanted = false;
    bool inMessage = false;
    std::deque<std::function<void()>> postedCalls;
    // The small and the big icon, and those loaded for the window's display.
    CIcon icons[2];
    HICON shownIcons[2] = {nullptr, nullptr};
    // The tooltips of the controls that have one; the window's own, so it
    // goes with it.
    HWND tooltips = nullptr;
};

INT_PTR CALLBACK CDialog::Native::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* native = reinterpret_cast<Native*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        return native->InitDialog(window);
    }
    auto* native = reinterpret_cast<Native*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (native == nullptr) {
        return FALSE;
    }
    const bool nested = native->inMessage;
    const bool outerDefaultWanted = native->defaultWanted;
    native->inMessage = true;
    native->defaultWanted = false;
    INT_PTR handled = native->OnMessage(message, wParam, lParam);
    if (native->defaultWanted) {
        handled = FALSE;
    }
    native->inMessage = nested;
    native->defaultWanted = outerDefaultWanted;
    return handled;
}

INT_PTR CDialog::Native::InitDialog(HWND window) {
    hwnd = window;
    if (acceptsFiles) {
        ::DragAcceptFiles(window, TRUE);
    }
    NameControlsWithoutLabels();
    Place();
    return dialog.OnInitDialog() ? TRUE : FALSE;
}

// The window shows once this message is done, already in its place.
void CDialog::Native::Place() {
    if ((dialogTemplate.windowStyle & res::kAppWindow) != 0) {
        PlaceMainWindow(hwnd);
    } else if (const HWND owner = parent != nullptr ? NativeWindow(*parent) : nullptr) {
        CentreOver(hwnd, owner);
    }
}

// Windows names a field for a screen reader by the text before it; a field
// with none is given the name its template gives it.
void CDialog::Native::NameControlsWithoutLabels() {
    IAccPropServices* properties = nullptr;
    if (SUCCEEDED(::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                     kAccPropServicesInterface,
                                     reinterpret_cast<void**>(&properties)))) {
        for (const res::ControlTemplate& control : dialogTemplate.controls) {
            const HWND field = ::GetDlgItem(hwnd, control.id);
            if (!control.accessibleName.empty() && field != nullptr) {
                properties->SetHwndPropStr(
                    field, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kAccessibleName,
                    Widen(Tr(dialogTemplate.context, control.accessibleName)).c_str());
            }
        }
        properties->Release();
    }
}

INT_PTR CDialog::Native::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                dialog.OnCommand(LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_SYSCOMMAND:
            dialog.OnSysCommand(static_cast<int>(wParam));
            return TRUE;
        // F1, passed on to the dialog from the control that has the focus.
        case WM_HELP:
            dialog.OnCommand(ID_HELP);
            return TRUE;
        case WM_DESTROY:
            ::RemovePropW(hwnd, kMainWindowProperty);
            return FALSE;
        // The system scales the dialog, its font and its place itself.
        case WM_DPICHANGED:
            ShowIcon(true, HIWORD(wParam));
            ShowIcon(false, HIWORD(wParam));
            return FALSE;
        case WM_PAINT:
            dialog.OnPaint();
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
void CDialog::Native::DropFiles(HDROP drop) {
    std::vector<std::filesystem::path> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        files.push_back(DroppedFile(drop, i));
    }
    ::DragFinish(drop);
    if (dialog.CanDropFiles(files)) {
        dialog.OnDropFiles(files);
    }
}

// At the size for the display the window is on; drawn again when it moves to
// another.
void CDialog::Native::ShowIcon(bool big, UINT dpi) {
    HICON& shown = shownIcons[big ? 1 : 0];
    const HICON loaded = LoadIconForDpi(icons[big ? 1 : 0], big, dpi);
    if (loaded == nullptr) {
        return;
    }
    ::SendMessageW(hwnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(loaded));
    if (shown != nullptr) {
        ::DestroyIcon(shown);
    }
    shown = loaded;
}

void CDialog::Native::RunPostedCalls() {
    if (postedCalls.empty()) {
        return;
    }
    const std::function<void()> call = std::move(postedCalls.front());
    postedCalls.pop_front();
    call();
}

std::wstring CDialog::Native::Caption() const {
    return hwnd != nullptr ? WindowText(hwnd)
                           : Widen(Tr(dialogTemplate.context, dialogTemplate.caption));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND NativeWindow(const CDialog& dialog) {
    return dialog.native().hwnd;
}

void CMenu::AppendMenu(unsigned flags, int commandId, std::string_view text) {
    const HMENU menu = ::GetSystemMenu(NativeWindow(m_dialog), FALSE);
    if ((flags & MF_SEPARATOR) != 0) {
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    ::AppendMenuW(menu, flags, static_cast<UINT_PTR>(commandId), Widen(text).c_str());
}

CDialog::CDialog(int templateId, CDialog* parent)
    : m_native(std::make_unique<Native>(*this, res::FindDialogTemplate(templateId), parent)) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    Native& native = *m_native;
    const InMemoryTemplate dialogTemplate = TemplateFor(native.dialogTemplate);
    // For the names given to assistive technology while the dialog lives.
    const bool com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const HWND owner = native.parent != nullptr ? NativeWindow(*native.parent) : nullptr;
    const INT_PTR result =
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(), owner,
                                  &Native::DialogProc, reinterpret_cast<LPARAM>(&native));
    native.hwnd = nullptr;
    native.tooltips = nullptr;
    for (HICON& shown : native.shownIcons) {
        if (shown != nullptr) {
            ::DestroyIcon(std::exchange(shown, nullptr));
        }
    }
    if (com) {
        ::CoUninitialize();
    }
    return static_cast<int>(result);
}

std::string CDialog::GetDlgItemText(int id) const {
    return Narrow(WindowText(::GetDlgItem(m_native->hwnd, id)));
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (::GetDlgItem(m_native->hwnd, id) == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is not in the dialog");
    }
    ::SetDlgItemTextW(m_native->hwnd, id, Widen(text).c_str());
}

// The caret at the end, scrolled into view, whether or not the field has the
// focus.
void CDialog::ShowEndOfDlgItem(int id) {
    const HWND field = ::GetDlgItem(m_native->hwnd, id);
    const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(field));
    ::SendMessageW(field, EM_SETSEL, end, static_cast<LPARAM>(end));
    ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

// The tooltip shows whether or not the window is active, and as long as the
// work area is wide where the text can be wrapped.
void CDialog::SetDlgItemToolTip(int id, const std::string& text) {
    Native& native = *m_native;
    const HWND control = ::GetDlgItem(native.hwnd, id);
    if (control == nullptr) {
        return;
    }
    if (native.tooltips == nullptr) {
        native.tooltips = ::CreateWindowExW(
            WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, native.hwnd, nullptr,
            ::GetModuleHandleW(nullptr), nullptr);
        const PixelRect area =
            WorkAreaOf(::MonitorFromWindow(native.hwnd, MONITOR_DEFAULTTONEAREST));
        ::SendMessageW(native.tooltips, TTM_SETMAXTIPWIDTH, 0, area.width);
    }
    std::wstring tip = FittedToolTip(Widen(text));
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = native.hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip.data();
    ::SendMessageW(native.tooltips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(native.tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CDialog::GotoDlgCtrl(int id) {
    const HWND control = ::GetDlgItem(m_native->hwnd, id);
    ::SendMessageW(m_native->hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    ::SendMessageW(control, EM_SETSEL, 0, -1);
}

CMenu* CDialog::GetSystemMenu() {
    return ::GetSystemMenu(m_native->hwnd, FALSE) != nullptr ? &m_systemMenu : nullptr;
}

void CDialog::SetIcon(const CIcon& icon, bool big) {
    m_native->icons[big ? 1 : 0] = icon;
    m_native->ShowIcon(big, ::GetDpiForWindow(m_native->hwnd));
}

void CDialog::DragAcceptFiles() {
    m_native->acceptsFiles = true;
    if (m_native->hwnd != nullptr) {
        ::DragAcceptFiles(m_native->hwnd, TRUE);
    }
}

// The system's box has no place of its own for details: they stand under
// the text, after a blank line.
void CDialog::ShowMessage(MessageKind kind, const std::string& text, const std::string& details) {
    const std::string shown = details.empty() ? text : text + "\n\n" + details;
    ::MessageBoxW(m_native->hwnd, Widen(shown).c_str(), m_native->Caption().c_str(),
                  MB_OK | BoxIcon(kind));
}

bool CDialog::AskYesNo(const std::string& text) {
    return ::MessageBoxW(m_native->hwnd, Widen(text).c_str(), m_native->Caption().c_str(),
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void CDialog::PostCall(std::function<void()> call) {
    m_native->postedCalls.push_back(std::move(call));
    ::PostMessageW(m_native->hwnd, kRunPostedCalls, 0, 0);
}

void CDialog::DefaultSysCommand(int commandId) {
    if (m_native->inMessage) {
        m_native->defaultWanted = true;
    } else {
        ::SendMessageW(m_native->hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(commandId), 0);
    }
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_native->hwnd, result);
}

void CDialog::OnPaint() {
    m_native->defaultWanted = true;
}

bool CDialog::IsIconic() const {
    return ::IsIconic(m_native->hwnd) != FALSE;
}

void CDialog::PaintIconCentred(const CIcon& icon) {
    const HWND window = m_native->hwnd;
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(window, &paint);
    ::SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(window, &client);
    const UINT dpi = ::GetDpiForWindow(window);
    const int size = ::GetSystemMetricsForDpi(SM_CXICON, dpi);
    const PixelPoint at = MinimisedIconPosition(
        {client.right - client.left, client.bottom - client.top}, {size, size});
    if (const HICON drawn = LoadIconForDpi(icon, true, dpi)) {
        ::DrawIconEx(dc, at.x, at.y, drawn, size, size, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(drawn);
    }
    ::EndPaint(window, &paint);
}

}  // namespace morvane::ui
