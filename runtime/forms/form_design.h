#pragma once

#include <span>
#include <string_view>

#include "runtime/calc_error.h"

namespace parvolin {

class FormControls;

// A handler of the program's: runs with the window's controls, may throw.
using Handler = void (*)(FormControls&);

// The standard controls a window is made of.
enum class ControlKind {
    Label,             // sized to its caption, takes no focus
    DropDownCombo,     // editable drop-down combo box
    TextBox,           // single-line text box
    MultiLineTextBox,  // word-wrapped, vertical scroll bar; Tab leaves it
    PushButton,        // never the default or the cancel button
};

// A rectangle in twips (1/1440 inch) relative to the client area.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// One control as the designer placed it.
struct ControlDesign {
    std::string_view name;  // the designer's name: Label1, Combo1, Text1, ...
    ControlKind kind;
    TwipRect place;  // a label's width and height follow from its caption
    int tabIndex;
    std::string_view text;                         // caption, or the initial text of a box
    std::span<const std::string_view> items = {};  // a combo box's list
    // For a box no label names (screen readers say this instead).
    std::string_view accessibleName = {};
};

// The user actions that can run a handler.
enum class ControlEvent {
    Pick,   // an item picked from a combo box's list; typing never counts
    Press,  // a push button pressed (click, Space, Enter while it has the focus)
};

struct EventBinding {
    std::string_view control;
    ControlEvent event;
    Handler handler;
};

// The box to correct after a failed calculation, by the input the failure
// concerns; an arithmetic failure (InputField::None) names its own box.
struct CorrectionBoxes {
    std::string_view none, method, heightUnit, weight, height;

    std::string_view of(InputField field) const;
};

// Everything a forms runtime needs to build a window and wire its handlers.
// The controls are listed in creation order: each label just before the box
// it names (screen readers name a box by the label created before it), and
// the focusable controls in tab order.
struct FormDesign {
    std::string_view name;
    std::string_view caption;
    int clientWidth;   // twips
    int clientHeight;  // twips
    std::span<const ControlDesign> controls;
    Handler load;  // runs once, after creation and before the window is shown
    std::span<const EventBinding> events;
    CorrectionBoxes correction;
    // Sentences screen readers announce, without moving the focus and
    // without interrupting, after an event's handler has changed a control
    // they name, as a web page announces its live regions: "{Text4}" stands
    // for Text4's text. The load handler announces nothing.
    std::span<const std::string_view> announced = {};
};

// Twips to pixels at `dpi` dots per inch, rounded to nearest: 15 twips make
// one pixel at 96 dpi.
constexpr int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// The twip grid was drawn for a window font of about 9 points at 96 dpi.
// Text drawn larger grows the whole window in proportion, so that every
// caption still fits; smaller text never shrinks it below its design size.
// `fontPoints` is the size the text is drawn at, in points at 96 dpi: with
// Qt a font's points times the logical dpi it is drawn at over 96; on
// Windows the font's points, the dpi scaling the pixels separately. Dialog
// units follow a font's average character width as well as its height, for
// a bold or wide font; the Qt window likewise grows further until each
// caption and list item fits as its font draws it.
inline constexpr double kDesignFontPoints = 9.0;
constexpr double layoutScale(double fontPoints) {
    return fontPoints > kDesignFontPoints ? fontPoints / kDesignFontPoints : 1.0;
}

// Twips to pixels at `dpi` dots per inch, grown by a layout scale, rounded
// to nearest; at a scale of 1 the same pixels as above.
constexpr int twipsToPixels(int twips, int dpi, double scale) {
    return static_cast<int>(static_cast<double>(twips) * dpi * scale / 1440.0 + 0.5);
}

}  // namespace parvolin
