// SPDX-License-Identifier: MIT
#pragma once
// The fixed layout of the main window, as one table of data.

#include <span>

namespace haoma::app {

enum class ControlKind {
    GroupBox,
    Label,
    LineEdit,  // single-line edit box
    TextBox,   // multi-line edit box
    Button,
    CheckBox,
    Radio,
    ListBox,
    Picture,  // banner image, reacts to the left button going down
    Link,     // hyperlink label, reacts to a click
};

enum class RadioGroup { None, Mode, Carrier };

struct ControlSpec {
    const char* name;  // object name
    ControlKind kind;
    const char* parent;  // containing control, or nullptr for the window itself
    int left, top, width, height;
    const char* caption;  // caption or initial text, UTF-8
    const char* color;    // "#RRGGBB" text colour, or nullptr for the default
    int boldPixels;       // bold font of this pixel height, or 0 for the default font
    bool transparent;     // paints no background of its own
    bool enabled;         // initial enabled state
    bool checked;         // initial state of check boxes and radio buttons
    bool visible;         // initial visibility
    RadioGroup group;
    const char* resource;  // picture resource path, or nullptr
};

// Every control of the main window in creation order (containers before their contents).
std::span<const ControlSpec> controlTable();

inline constexpr int kWindowWidth = 605;
inline constexpr int kWindowHeight = 483;

// The names assistive technology reads for the controls without a caption of their own
// (buttons, labels and check boxes are read by their captions).
struct AccessibleName {
    const char* control;  // object name
    const char* name;     // UTF-8
};
std::span<const AccessibleName> accessibleNames();

// The controls in the order Tab visits them (the reading order of the window).
std::span<const char* const> focusOrder();

}  // namespace haoma::app
