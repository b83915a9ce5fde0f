#pragma once
// The windows' templates as data: every control's id, kind, text, place (in dialog units) and
// style, in template order, which is also the keyboard's tab order. One builder turns a table
// into widgets (template_builder.h).

#include <span>

namespace pixmorph::ui {

// The OK button of the about and splash windows.
inline constexpr int kOkId = 1;

// Controls without an id (labels, pictures, the group box).
inline constexpr int kNoId = -1;

// Template numbers.
inline constexpr int kAboutTemplate = 100;
inline constexpr int kMainTemplate = 102;
inline constexpr int kExportChoiceTemplate = 129;
inline constexpr int kSplashTemplate = 139;
inline constexpr int kCompileJobTemplate = 143;
inline constexpr int kExportJobTemplate = 144;

enum class ControlKind {
    pushButton,
    defaultPushButton,
    checkBox, // an auto check box
    edit,     // always read-only in this program
    label,    // static text
    groupBox,
    picture,      // a bitmap resource shown at its own size
    icon,         // an icon resource shown at its own size
    dropDownList, // the height is that of the opened list
    progressBar,
    animation, // plays a clip resource
};

// Style bits beyond what the kind implies.
enum ControlStyle : unsigned {
    kPlain = 0,
    kBorder = 1u << 0,
    kSunken = 1u << 1,
    kVerticallyCentred = 1u << 2,
    kCentred = 1u << 3, // text centred; for the animation, the clip centred
    kMultiLine = 1u << 4,
    kSorted = 1u << 5,
    kVerticalScroll = 1u << 6,
    kDisabled = 1u << 7,
    kTransparent = 1u << 8,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text; // "\n" breaks a line
    int x, y, width, height;
    unsigned style;
    int resource; // picture, icon or clip number; 0 for none
};

enum WindowStyle : unsigned {
    kCaption = 1u << 0,
    kSystemMenu = 1u << 1,
    kMinimiseBox = 1u << 2,
    kModalFrame = 1u << 3, // a frame without a caption when kCaption is absent
};

struct WindowTemplate {
    int id;
    const char* title;
    int width, height; // client area, dialog units
    unsigned style;
    std::span<const ControlTemplate> controls;
};

const WindowTemplate& mainWindowTemplate();
const WindowTemplate& exportChoiceTemplate();
const WindowTemplate& aboutTemplate();
const WindowTemplate& splashTemplate();
const WindowTemplate& compileJobTemplate();
const WindowTemplate& exportJobTemplate();

} // namespace pixmorph::ui
