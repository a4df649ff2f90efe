#pragma once

#include "windows_api.h"

#include <string_view>
#include <vector>

#include "resources/dialog_templates.h"

namespace morvane::ui {

// An extended dialog template (DLGTEMPLATEEX and its items) in memory, as
// DialogBoxIndirectParamW and CreateDialogIndirectParamW take it. Positions
// are dialog units; the system converts them with the dialog's font.
class InMemoryTemplate {
public:
    // The shell dialog font ("MS Shell Dlg") stands in for whatever face the
    // template names, so that the dialog has the system's own dialog font.
    InMemoryTemplate(DWORD style, DWORD exStyle, const res::DialogRect& rect,
                     std::wstring_view caption, WORD fontPoints);

    // classOrdinal is one of the predefined classes (0x80 button, 0x81 edit,
    // 0x82 static); className is used when it is 0.
    void AddControl(DWORD style, const res::DialogRect& rect, int id, WORD classOrdinal,
                    std::wstring_view className, std::wstring_view text, WORD iconId = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void AddWord(WORD word) { m_words.push_back(word); }
    void AddDword(DWORD dword);
    void AddText(std::wstring_view text);
    void AlignToDword();

    std::vector<WORD> m_words;
};

inline constexpr WORD kButtonClass = 0x0080;
inline constexpr WORD kEditClass = 0x0081;
inline constexpr WORD kStaticClass = 0x0082;

// The program's dialog with the given template data.
InMemoryTemplate TemplateFor(const res::DialogTemplate& dialog);

}  // namespace morvane::ui
