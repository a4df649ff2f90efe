#include "dialog_template.h"

#include <algorithm>

#include "platform/text_fit.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

constexpr std::size_t kControlCountWord = 8;

DWORD WindowStyleFor(unsigned style) {
    DWORD windowStyle = WS_POPUP | WS_VISIBLE | DS_SHELLFONT;
    if ((style & res::kCaption) != 0) {
        windowStyle |= WS_CAPTION;
    }
    if ((style & res::kSystemMenu) != 0) {
        windowStyle |= WS_SYSMENU;
    }
    if ((style & res::kModalFrame) != 0) {
        windowStyle |= DS_MODALFRAME;
    }
    if ((style & res::kMinimizeBox) != 0) {
        windowStyle |= WS_MINIMIZEBOX;
    }
    return windowStyle;
}

DWORD ControlStyleFor(const res::ControlTemplate& control) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    if ((control.style & res::kTabStop) != 0) {
        style |= WS_TABSTOP;
    }
    if ((control.style & res::kBorder) != 0) {
        style |= WS_BORDER;
    }
    switch (control.kind) {
        case res::ControlKind::PushButton:
            return style | BS_PUSHBUTTON;
        case res::ControlKind::DefaultPushButton:
            return style | BS_DEFPUSHBUTTON;
        case res::ControlKind::Edit:
            return style | ES_LEFT | ES_AUTOHSCROLL;
        case res::ControlKind::ReadOnlyEdit:
            return style | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;
        case res::ControlKind::StaticText:
            // Ampersands are shown as typed, as in the Qt rendering.
            return style | SS_LEFT | SS_NOPREFIX;
        case res::ControlKind::StaticIcon:
            return style | SS_ICON;
    }
    return style;
}

WORD ClassFor(res::ControlKind kind) {
    switch (kind) {
        case res::ControlKind::PushButton:
        case res::ControlKind::DefaultPushButton:
            return kButtonClass;
        case res::ControlKind::Edit:
        case res::ControlKind::ReadOnlyEdit:
            return kEditClass;
        case res::ControlKind::StaticText:
        case res::ControlKind::StaticIcon:
            return kStaticClass;
    }
    return kStaticClass;
}

}  // namespace

InMemoryTemplate::InMemoryTemplate(DWORD style, DWORD exStyle, const res::DialogRect& rect,
                                   std::wstring_view caption, WORD fontPoints) {
    AddWord(1);       // dlgVer
    AddWord(0xFFFF);  // signature: extended template
    AddDword(0);      // helpID
    AddDword(exStyle);
    AddDword(style);
    AddWord(0);  // cDlgItems, counted as controls are added
    AddWord(static_cast<WORD>(rect.left));
    AddWord(static_cast<WORD>(rect.top));
    AddWord(static_cast<WORD>(rect.width));
    AddWord(static_cast<WORD>(rect.height));
    AddWord(0);  // no menu
    AddWord(0);  // the system's dialog class
    AddText(caption);
    AddWord(fontPoints);
    AddWord(FW_NORMAL);
    AddWord(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
    AddText(L"MS Shell Dlg");
}

void InMemoryTemplate::AddControl(DWORD style, const res::DialogRect& rect, int id,
                                  WORD classOrdinal, std::wstring_view className,
                                  std::wstring_view text, WORD iconId) {
    AlignToDword();
    AddDword(0);  // helpID
    AddDword(0);  // exStyle
    AddDword(style);
    AddWord(static_cast<WORD>(rect.left));
    AddWord(static_cast<WORD>(rect.top));
    AddWord(static_cast<WORD>(rect.width));
    AddWord(static_cast<WORD>(rect.height));
    AddDword(static_cast<DWORD>(id));
    if (classOrdinal != 0) {
        AddWord(0xFFFF);
        AddWord(classOrdinal);
    } else {
        AddText(className);
    }
    if (iconId != 0) {
        AddWord(0xFFFF);
        AddWord(iconId);
    } else {
        AddText(text);
    }
    AddWord(0);  // no creation data
    ++m_words[kControlCountWord];
}

void InMemoryTemplate::AddDword(DWORD dword) {
    AddWord(LOWORD(dword));
    AddWord(HIWORD(dword));
}

void InMemoryTemplate::AddText(std::wstring_view text) {
    for (const wchar_t letter : text) {
        AddWord(static_cast<WORD>(letter));
    }
    AddWord(0);
}

void InMemoryTemplate::AlignToDword() {
    if (m_words.size() % 2 != 0) {
        AddWord(0);
    }
}

namespace {

// Measures texts in the dialog units of the system's dialog font at the
// screen's resolution, as the dialogs will draw them.
class DialogFontRuler {
public:
    DialogFontRuler() : m_screen(::GetDC(nullptr)) {
        const int height = -::MulDiv(8, ::GetDeviceCaps(m_screen, LOGPIXELSY), 72);
        m_font = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH, L"MS Shell Dlg 2");
        m_previous = ::SelectObject(m_screen, m_font);
        constexpr std::wstring_view letters =
            L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        SIZE extent{};
        ::GetTextExtentPoint32W(m_screen, letters.data(), static_cast<int>(letters.size()),
                                &extent);
        m_baseX = std::max(1L, (extent.cx / 26 + 1) / 2);
    }
    ~DialogFontRuler() {
        ::SelectObject(m_screen, m_previous);
        ::DeleteObject(m_font);
        ::ReleaseDC(nullptr, m_screen);
    }
    DialogFontRuler(const DialogFontRuler&) = delete;
    DialogFontRuler& operator=(const DialogFontRuler&) = delete;

    // Drawn as the controls draw it, with the fonts that stand in for
    // letters the dialog font lacks; rounded up to whole units.
    int Units(const std::wstring& text, bool mnemonics) const {
        RECT rect{};
        ::DrawTextW(m_screen, text.c_str(), static_cast<int>(text.size()), &rect,
                    DT_CALCRECT | DT_SINGLELINE | (mnemonics ? 0 : DT_NOPREFIX));
        return static_cast<int>((rect.right * 4 + m_baseX - 1) / m_baseX);
    }

private:
    HDC m_screen;
    HFONT m_font = nullptr;
    HGDIOBJ m_previous = nullptr;
    LONG m_baseX = 1;
};

bool IsButton(res::ControlKind kind) {
    return kind == res::ControlKind::PushButton || kind == res::ControlKind::DefaultPushButton;
}

// The controls at their template's places, widened where their texts in the
// user's language need more room.
struct FittedControls {
    std::vector<PlacedControl> placed;  // one for each template control
    int width = 0;                      // the dialog's
};

FittedControls FitTemplate(const res::DialogTemplate& dialog,
                           const std::vector<std::wstring>& texts) {
    const DialogFontRuler ruler;
    FittedControls fitted;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const res::ControlTemplate& control = dialog.controls[i];
        const res::DialogRect& rect = control.rect;
        int textWidth = 0;
        if (!texts[i].empty() && IsButton(control.kind)) {
            textWidth = ruler.Units(texts[i], true) + 2 * kButtonTextMargin;
        } else if (!texts[i].empty() && control.kind == res::ControlKind::StaticText) {
            textWidth = ruler.Units(texts[i], false);
        }
        fitted.placed.push_back({rect.left, rect.top, rect.width, rect.height, textWidth,
                                 control.kind == res::ControlKind::ReadOnlyEdit});
    }
    // The command-only controls are not made, and take no room.
    std::vector<PlacedControl> shown;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        if ((dialog.controls[i].style & res::kCommandOnly) == 0) {
            shown.push_back(fitted.placed[i]);
        }
    }
    fitted.width = FitToTexts(shown, dialog.width, kWidenedTextGap);
    for (std::size_t i = 0, next = 0; i < dialog.controls.size(); ++i) {
        if ((dialog.controls[i].style & res::kCommandOnly) == 0) {
            fitted.placed[i] = shown[next++];
        }
    }
    return fitted;
}

std::vector<std::wstring> TranslatedTexts(const res::DialogTemplate& dialog) {
    std::vector<std::wstring> texts;
    for (const res::ControlTemplate& control : dialog.controls) {
        texts.push_back(control.text.empty() ? std::wstring()
                                             : Widen(Tr(dialog.context, control.text)));
    }
    return texts;
}

res::DialogRect RectOf(const PlacedControl& control) {
    return {control.left, control.top, control.width, control.height};
}

}  // namespace

// A field's label stands right before it in the window order, which is how
// Windows names a field for a screen reader; the order of the controls that
// take the focus, the tab order, stays the template's.
InMemoryTemplate TemplateFor(const res::DialogTemplate& dialog) {
    const DWORD exStyle = (dialog.windowStyle & res::kAppWindow) != 0 ? WS_EX_APPWINDOW : 0;
    const std::vector<std::wstring> texts = TranslatedTexts(dialog);
    const FittedControls fitted = FitTemplate(dialog, texts);
    InMemoryTemplate result(
        WindowStyleFor(dialog.windowStyle), exStyle, {0, 0, fitted.width, dialog.height},
        Widen(Tr(dialog.context, dialog.caption)), static_cast<WORD>(dialog.fontPoints));
    const auto add = [&](std::size_t index) {
        const res::ControlTemplate& control = dialog.controls[index];
        result.AddControl(ControlStyleFor(control), RectOf(fitted.placed[index]), control.id,
                          ClassFor(control.kind), {}, texts[index],
                          static_cast<WORD>(control.iconId));
    };
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const res::ControlTemplate& control = dialog.controls[i];
        if ((control.style & res::kCommandOnly) != 0 || control.buddyId != 0) {
            continue;
        }
        for (std::size_t j = 0; j < dialog.controls.size(); ++j) {
            if (dialog.controls[j].buddyId != 0 && dialog.controls[j].buddyId == control.id) {
                add(j);
            }
        }
        add(i);
    }
    return result;
}

}  // namespace morvane::ui
