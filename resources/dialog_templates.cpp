#include "resources/dialog_templates.h"

#include <array>
#include <stdexcept>
#include <string>

#include "resources/resource.h"
#include "resources/translatable.h"

namespace morvane::res {
namespace {

// The second Quit lies under the first: a control of its own there would be a
// tab stop where nothing seems to happen, and a second "Quit" to a screen
// reader. The "Number of collision volumes:" text is 95 units wide instead of 90: in
// DejaVu Sans, the font that stands in for MS Sans Serif on Linux desktops, the
// narrower rectangle cuts off the colon. It still ends where the count field begins.
// clang-format off
constexpr std::array kMainControls{
    ControlTemplate{IDOK,         "IDOK",               ControlKind::DefaultPushButton, MORVANE_TRANSLATABLE("MainWindow", "Quit"),
                    {195, 90, 50, 14}, kTabStop},
    ControlTemplate{IDCANCEL,     "IDCANCEL",           ControlKind::PushButton,        MORVANE_TRANSLATABLE("MainWindow", "Quit"),
                    {195, 90, 50, 14}, kCommandOnly},
    ControlTemplate{IDC_CHOOSE,   "IDC_CHOOSE",         ControlKind::PushButton,        MORVANE_TRANSLATABLE("MainWindow", "Choose ZRM..."),
                    {40, 15, 60, 15},  kTabStop},
    ControlTemplate{IDC_VOLUMES,  "IDC_VOLUMES",        ControlKind::Edit,              "",
                    {135, 44, 60, 15}, kBorder | kTabStop},
    ControlTemplate{IDC_STATIC,   "IDC_STATIC_VOLUMES", ControlKind::StaticText,        MORVANE_TRANSLATABLE("MainWindow", "Number of collision volumes:"),
                    {40, 47, 95, 15},  kNoStyle, 0, IDC_VOLUMES},
    ControlTemplate{IDC_FILENAME, "IDC_FILENAME",       ControlKind::ReadOnlyEdit,      "",
                    {105, 15, 140, 15}, kBorder | kTabStop, 0, 0, MORVANE_TRANSLATABLE("MainWindow", "Chosen model")},
    ControlTemplate{IDC_STATIC,   "IDC_STATIC_STEP1",   ControlKind::StaticText,        "1)",
                    {10, 15, 10, 15},  kNoStyle},
    ControlTemplate{IDC_STATIC,   "IDC_STATIC_STEP2",   ControlKind::StaticText,        "2)",
                    {10, 44, 10, 15},  kNoStyle},
    ControlTemplate{IDC_STATIC,   "IDC_STATIC_STEP3",   ControlKind::StaticText,        "3)",
                    {10, 74, 10, 15},  kNoStyle},
    ControlTemplate{IDC_SAVE,     "IDC_SAVE",           ControlKind::PushButton,        MORVANE_TRANSLATABLE("MainWindow", "Save ZRM..."),
                    {40, 74, 60, 15},  kTabStop},
};

constexpr std::array kAboutControls{
    ControlTemplate{IDC_STATIC, "IDC_STATIC_ICON",    ControlKind::StaticIcon,        "",
                    {11, 17, 20, 20},  kNoStyle, IDR_MAINFRAME},
    ControlTemplate{IDC_STATIC, "IDC_STATIC_VERSION", ControlKind::StaticText,        MORVANE_TRANSLATABLE("AboutBox", "morvane Version 1.0"),
                    {40, 10, 119, 8},  kNoStyle},
    ControlTemplate{IDC_STATIC, "IDC_STATIC_RIGHTS",  ControlKind::StaticText,        MORVANE_TRANSLATABLE("AboutBox", "(C) 2026 the morvane authors"),
                    {40, 25, 119, 8},  kNoStyle},
    ControlTemplate{IDOK,       "IDOK",               ControlKind::DefaultPushButton, MORVANE_TRANSLATABLE("AboutBox", "OK"),
                    {178, 7, 50, 14},  kTabStop},
};
// clang-format on

constexpr std::array kDialogs{
    DialogTemplate{IDD_ABOUTBOX, "AboutBox", MORVANE_TRANSLATABLE("AboutBox", "About morvane"), 235,
                   55, "MS Sans Serif", 8, kCaption | kSystemMenu | kModalFrame, kAboutControls},
    DialogTemplate{IDD_MAIN, "MainWindow", "morvane", 257, 116, "MS Sans Serif", 8,
                   kCaption | kSystemMenu | kModalFrame | kAppWindow | kMinimizeBox, kMainControls},
};

struct StringResource {
    int id;
    std::string_view text;
};

constexpr std::array kStringTable{
    StringResource{IDS_ABOUTBOX, MORVANE_TRANSLATABLE("WindowMenu", "&About morvane...")},
};

}  // namespace

const DialogTemplate& FindDialogTemplate(int id) {
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.id == id) {
            return dialog;
        }
    }
    throw std::out_of_range("no dialog template " + std::to_string(id));
}

std::string_view LoadStringResource(int id) {
    for (const StringResource& entry : kStringTable) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

}  // namespace morvane::res
