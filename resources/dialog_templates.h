#pragma once

#include <span>
#include <string_view>

// Dialog templates: a window's controls as data, with positions in dialog
// units so that the layout follows the dialog font rather than the screen.
namespace morvane::res {

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    Edit,
    ReadOnlyEdit,
    StaticText,
    StaticIcon,
};

enum ControlStyle : unsigned {
    kNoStyle = 0,
    kTabStop = 1u << 0,
    kBorder = 1u << 1,
    // No control is made: the dialog does the command itself (Escape and the
    // close box give IDCANCEL), and nothing is seen, tabbed to or announced.
    kCommandOnly = 1u << 2,
};

enum WindowStyle : unsigned {
    kCaption = 1u << 0,
    kSystemMenu = 1u << 1,
    kModalFrame = 1u << 2,  // a border the user cannot drag to resize
    kAppWindow = 1u << 3,   // a task-bar entry of its own
    kMinimizeBox = 1u << 4,
};

struct DialogRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlTemplate {
    int id;
    std::string_view name;  // how tests and style sheets find the control
    ControlKind kind;
    std::string_view text;
    DialogRect rect;
    unsigned style;
    int iconId = 0;   // for StaticIcon
    int buddyId = 0;  // for StaticText: the field it labels, which is named after it
    // What assistive technology calls a control that has neither text of its
    // own nor a label.
    std::string_view accessibleName = {};
};

// Its texts are English; their translations are found under its context.
struct DialogTemplate {
    int id;
    std::string_view context;
    std::string_view caption;
    int width;
    int height;
    std::string_view fontFace;
    int fontPoints;
    unsigned windowStyle;
    std::span<const ControlTemplate> controls;  // in tab and creation order
};

// The template with the given id; throws std::out_of_range for an unknown id.
const DialogTemplate& FindDialogTemplate(int id);

// The string table entry with the given id, or an empty view when there is
// none; its translations are under the context "WindowMenu".
std::string_view LoadStringResource(int id);

}  // namespace morvane::res
