#include "text_box.h"

#include "dialog_template.h"
#include "platform/window_placement.h"

namespace morvane::ui {
namespace {

constexpr int kTextId = 100;
constexpr int kFontPoints = 9;

// The box's text and the font it is shown in while the box is open.
struct TextBox {
    std::wstring text;
    HFONT font = nullptr;
};

// An edit field breaks its lines at CR LF.
std::wstring WithWindowsLineEnds(std::string_view text) {
    std::wstring lines;
    for (const wchar_t letter : Widen(text)) {
        if (letter == L'\n') {
            lines += L'\r';
        }
        lines += letter;
    }
    return lines;
}

HFONT FixedPitchFont(UINT dpi) {
    return ::CreateFontW(-::MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL,
                         FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN,
                         L"Consolas");
}

SIZE TextExtent(HWND field, HFONT font, const std::wstring& text) {
    const HDC dc = ::GetDC(field);
    const HGDIOBJ previous = ::SelectObject(dc, font);
    RECT rect{};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(field, dc);
    // Room for the caret after the longest line.
    return {rect.right + metrics.tmAveCharWidth, rect.bottom};
}

// The field as large as its text, the OK button under its right end, and the
// box around them in the middle of the screen, all in the box's own margins.
void LayOut(HWND box, TextBox& shown) {
    const UINT dpi = ::GetDpiForWindow(box);
    const HWND field = ::GetDlgItem(box, kTextId);
    const HWND ok = ::GetDlgItem(box, IDOK);
    shown.font = FixedPitchFont(dpi);
    ::SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(shown.font), FALSE);
    ::SetWindowTextW(field, shown.text.c_str());

    RECT units{7, 7, 50, 14};  // the margin, the gap, the button's width and height
    ::MapDialogRect(box, &units);
    const SIZE text = TextExtent(field, shown.font, shown.text);
    const auto margins = static_cast<DWORD>(::SendMessageW(field, EM_GETMARGINS, 0, 0));
    const int edge = 2 * ::GetSystemMetricsForDpi(SM_CXEDGE, dpi);
    const int fieldWidth = text.cx + LOWORD(margins) + HIWORD(margins) + edge;
    const int fieldHeight = text.cy + edge;
    const int width = 2 * units.left + fieldWidth;
    const int height = 2 * units.left + fieldHeight + units.top + units.bottom;
    ::MoveWindow(field, units.left, units.left, fieldWidth, fieldHeight, FALSE);
    ::MoveWindow(ok, width - units.left - units.right, units.left + fieldHeight + units.top,
                 units.right, units.bottom, FALSE);

    RECT frame{0, 0, width, height};
    ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(box, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(::GetWindowLongPtrW(box, GWL_EXSTYLE)),
                               dpi);
    const PixelSize size{frame.right - frame.left, frame.bottom - frame.top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(::GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY),
                      &monitor);
    const PixelRect area{monitor.rcWork.left, monitor.rcWork.top,
                         monitor.rcWork.right - monitor.rcWork.left,
                         monitor.rcWork.bottom - monitor.rcWork.top};
    const PixelPoint at = KeptIn(CentredIn(size, area), size, area);
    ::SetWindowPos(box, nullptr, at.x, at.y, size.width, size.height, SWP_NOZORDER);
}

INT_PTR CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            LayOut(box, *reinterpret_cast<TextBox*>(lParam));
            ::SetFocus(::GetDlgItem(box, IDOK));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(box, IDOK);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowTextInColumns(std::wstring_view caption, std::string_view text) {
    InMemoryTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT, 0,
                         {0, 0, 100, 50}, caption, 8);
    box.AddControl(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_READONLY,
                   {7, 7, 10, 10}, kTextId, kEditClass, {}, {});
    box.AddControl(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, {7, 20, 50, 14}, IDOK,
                   kButtonClass, {}, L"OK");
    TextBox shown{WithWindowsLineEnds(text)};
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), box.Get(), nullptr, &TextBoxProc,
                              reinterpret_cast<LPARAM>(&shown));
    if (shown.font != nullptr) {
        ::DeleteObject(shown.font);
    }
}

}  // namespace morvane::ui
