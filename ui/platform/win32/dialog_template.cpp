#include "dialog_template.h"

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

// A field's label stands right before it in the window order, which is how
// Windows names a field for a screen reader; the order of the controls that
// take the focus, the tab order, stays the template's.
InMemoryTemplate TemplateFor(const res::DialogTemplate& dialog) {
    const DWORD exStyle = (dialog.windowStyle & res::kAppWindow) != 0 ? WS_EX_APPWINDOW : 0;
    InMemoryTemplate result(WindowStyleFor(dialog.windowStyle), exStyle,
                            {0, 0, dialog.width, dialog.height}, Widen(dialog.caption),
                            static_cast<WORD>(dialog.fontPoints));
    const auto add = [&result](const res::ControlTemplate& control) {
        result.AddControl(ControlStyleFor(control), control.rect, control.id,
                          ClassFor(control.kind), {}, Widen(control.text),
                          static_cast<WORD>(control.iconId));
    };
    for (const res::ControlTemplate& control : dialog.controls) {
        if ((control.style & res::kCommandOnly) != 0 || control.buddyId != 0) {
            continue;
        }
        for (const res::ControlTemplate& label : dialog.controls) {
            if (label.buddyId != 0 && label.buddyId == control.id) {
                add(label);
            }
        }
        add(control);
    }
    return result;
}

}  // namespace morvane::ui
