#pragma once

// Gestures other than a press of "Calculate!", with what the window must show
// afterwards: tables both windows (Qt and Win32) run through their drivers.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "scenarios/window_driver.h"
#include "ui/form1.h"

namespace parvolin::test {

using namespace form1;

using Items = std::vector<std::string>;

// The window as it first shows, box by box.
struct InitialBox {
    std::string name;
    std::string_view box;
    std::string text;
    Items items = {};  // a combo box's list
    // The item the list holds selected, the one it opens on and the arrow
    // keys step on from: the item shown.
    std::string selected = {};
};

inline const std::vector<InitialBox>& initialBoxes() {
    // clang-format off
    static const std::vector<InitialBox> rows{
        {.name = "method box", .box = kMethodBox, .text = "Imperial", .items = {"Imperial", "Metric"}, .selected = "Imperial"},
        {.name = "weight box", .box = kWeightBox, .text = ""},
        {.name = "height box", .box = kHeightBox, .text = ""},
        {.name = "weight unit box", .box = kWeightUnitBox, .text = "Pounds", .items = {"Pounds"}, .selected = "Pounds"},
        {.name = "height unit box", .box = kHeightUnitBox, .text = "Feet", .items = {"Feet", "Inches"}, .selected = "Feet"},
        {.name = "status box", .box = kStatusBox, .text = ""},
        {.name = "BMI box", .box = kBmiBox, .text = ""},
    };
    // clang-format on
    return rows;
}

// The controls that take the focus, in the order of the design's tab indexes.
inline std::vector<std::string> designedTabOrder() {
    std::vector<const ControlDesign*> focusable;
    for (const ControlDesign& control : form1Design().controls)
        if (control.kind != ControlKind::Label) focusable.push_back(&control);
    std::sort(focusable.begin(), focusable.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string> names;
    for (const ControlDesign* control : focusable) names.emplace_back(control->name);
    return names;
}

// A full round of Tab or Shift+Tab from the first box.
struct TabRound {
    std::string name;
    Key key;
    bool backwards;
};

inline const std::vector<TabRound>& tabRounds() {
    // clang-format off
    static const std::vector<TabRound> rows{
        {.name = "Tab", .key = Key::Tab, .backwards = false},
        {.name = "Shift+Tab", .key = Key::ShiftTab, .backwards = true},
    };
    // clang-format on
    return rows;
}

// Text typed into a combo box and then left: the text stays as typed, the
// list keeps its items and no pick happens (the units stay Imperial's).
struct TypedNotPicked {
    std::string name;
    std::string_view box;
    std::string typed;
    std::vector<Key> then = {};       // keys pressed afterwards
    std::string_view clickInto = {};  // then a click into this box
    Items items;                      // the box's list afterwards
    std::string units;                // the unit boxes afterwards, as Window::units() shows them
};

// The unit boxes as Imperial shows them, with their lists.
inline const std::string kImperialUnits = "Pounds [Pounds,] / Feet [Feet,Inches,]";
inline const std::string kMetricUnits = "Kg [Kg,] / Meters [Meters,]";

inline const Items kMethods{"Imperial", "Metric"};
inline const Items kImperialHeights{"Feet", "Inches"};

inline const std::vector<TypedNotPicked>& typedNotPicked() {
    // clang-format off
    static const std::vector<TypedNotPicked> rows{
        {.name = "Metric then Tab", .box = kMethodBox, .typed = "Metric", .then = {Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "Metric then Enter and Tab", .box = kMethodBox, .typed = "Metric", .then = {Key::Enter, Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "metric then Enter", .box = kMethodBox, .typed = "metric", .then = {Key::Enter}, .items = kMethods, .units = kImperialUnits},
        {.name = "Metric then a click elsewhere", .box = kMethodBox, .typed = "Metric", .clickInto = kWeightBox, .items = kMethods, .units = kImperialUnits},
        {.name = "M then Enter and Tab", .box = kMethodBox, .typed = "M", .then = {Key::Enter, Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "i is not completed", .box = kMethodBox, .typed = "i", .then = {Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "Foo is not added", .box = kMethodBox, .typed = "Foo", .then = {Key::Enter}, .items = kMethods, .units = kImperialUnits},
        // Foo begins no item: the list opens on none.
        {.name = "Foo, list opened, Enter", .box = kMethodBox, .typed = "Foo", .then = {Key::F4, Key::Enter}, .items = kMethods, .units = kImperialUnits},
        {.name = "inches keeps its case", .box = kHeightUnitBox, .typed = "inches", .then = {Key::Enter}, .items = kImperialHeights, .units = "Pounds [Pounds,] / inches [Feet,Inches,]"},
        {.name = "inches then Tab", .box = kHeightUnitBox, .typed = "inches", .then = {Key::Tab}, .items = kImperialHeights, .units = "Pounds [Pounds,] / inches [Feet,Inches,]"},
        {.name = "Kg is not added to Pounds", .box = kWeightUnitBox, .typed = "Kg", .then = {Key::Enter}, .items = {"Pounds"}, .units = "Kg [Pounds,] / Feet [Feet,Inches,]"},
    };
    // clang-format on
    return rows;
}

// A pick of Metric and back to Imperial, twice, made the same way each time:
// each pick rebuilds the unit lists, and nothing else changes.
struct PickGesture {
    std::string name;
    PickBy how;
    std::string typedFirst = {};  // typed into the box before the pick of Metric
    bool picks = true;            // false: the gesture ends in no pick
};

inline const std::vector<PickGesture>& pickGestures() {
    // clang-format off
    static const std::vector<PickGesture> rows{
        {.name = "arrow keys on the closed box", .how = PickBy::ArrowsOnClosedBox},
        {.name = "mouse", .how = PickBy::MouseOnOpenList},
        {.name = "F4 and a click", .how = PickBy::F4ThenClick},
        {.name = "F4, arrows and Enter", .how = PickBy::F4ArrowsEnter},
        {.name = "Alt+Down, arrows and Enter", .how = PickBy::AltDownArrowsEnter},
        {.name = "F4, arrows and Alt+Up", .how = PickBy::F4ArrowsAltUp},
        {.name = "F4, arrows and F4", .how = PickBy::F4ArrowsF4},
        // The list opens on the item the typed text begins; closing it there is a pick.
        {.name = "m typed, F4 and Enter", .how = PickBy::F4ArrowsEnter, .typedFirst = "m"},
        {.name = "m typed, Alt+Down and Enter", .how = PickBy::AltDownArrowsEnter, .typedFirst = "m"},
        {.name = "m typed, F4 and Alt+Up", .how = PickBy::F4ArrowsAltUp, .typedFirst = "m"},
        {.name = "m typed, F4 and F4", .how = PickBy::F4ArrowsF4, .typedFirst = "m"},
        {.name = "m typed, F4 and a click", .how = PickBy::F4ThenClick, .typedFirst = "m"},
        {.name = "m typed, F4 and Escape", .how = PickBy::F4ArrowsEscape, .typedFirst = "m", .picks = false},
        // Moving through the open list is no pick either.
        {.name = "F4, arrows and Escape", .how = PickBy::F4ArrowsEscape, .picks = false},
    };
    // clang-format on
    return rows;
}

// A key on a control: only Enter and Space on the button press it; Escape
// never closes the window; the arrows on the button move the focus, as in a
// dialog.
struct KeyOnControl {
    std::string name;
    std::string_view control;
    Key key;
    bool presses;
    std::string_view focus = {};  // the control with the focus afterwards, if not `control`
};

inline const std::vector<KeyOnControl>& keysOnControls() {
    // clang-format off
    static const std::vector<KeyOnControl> rows{
        {.name = "Enter in Combo1", .control = kMethodBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Text1", .control = kWeightBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Text2", .control = kHeightBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Combo2", .control = kWeightUnitBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Combo3", .control = kHeightUnitBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Text3", .control = kStatusBox, .key = Key::Enter, .presses = false},
        {.name = "Enter in Text4", .control = kBmiBox, .key = Key::Enter, .presses = false},
        {.name = "keypad Enter in Combo1", .control = kMethodBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text1", .control = kWeightBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text2", .control = kHeightBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Combo2", .control = kWeightUnitBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Combo3", .control = kHeightUnitBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text4", .control = kBmiBox, .key = Key::KeypadEnter, .presses = false},
        {.name = "Escape in Combo1", .control = kMethodBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Text1", .control = kWeightBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Text2", .control = kHeightBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Combo2", .control = kWeightUnitBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Combo3", .control = kHeightUnitBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Text3", .control = kStatusBox, .key = Key::Escape, .presses = false},
        {.name = "Escape in Text4", .control = kBmiBox, .key = Key::Escape, .presses = false},
        {.name = "Escape on the button", .control = kCalculateButton, .key = Key::Escape, .presses = false},
        {.name = "Enter on the button", .control = kCalculateButton, .key = Key::Enter, .presses = true},
        {.name = "Space on the button", .control = kCalculateButton, .key = Key::Space, .presses = true},
        {.name = "Right on the button", .control = kCalculateButton, .key = Key::Right, .presses = false, .focus = kStatusBox},
        {.name = "Down on the button", .control = kCalculateButton, .key = Key::Down, .presses = false, .focus = kStatusBox},
        {.name = "Left on the button", .control = kCalculateButton, .key = Key::Left, .presses = false, .focus = kHeightUnitBox},
        {.name = "Up on the button", .control = kCalculateButton, .key = Key::Up, .presses = false, .focus = kHeightUnitBox},
    };
    // clang-format on
    return rows;
}

// Where each control sits, in pixels at 96 dpi (the designed twips divided
// by 15). A label has no width of its own: it is sized to its caption, which
// ends before the boxes begin.
struct Placement {
    std::string name;
    std::string_view control;
    int left, top;
    int width = 0, height = 0;
};

inline constexpr int kBoxesLeft = 60;

inline const std::vector<Placement>& placements() {
    // clang-format off
    static const std::vector<Placement> rows{
        {.name = "method box", .control = kMethodBox, .left = 60, .top = 9, .width = 148, .height = 21},
        {.name = "weight box", .control = kWeightBox, .left = 60, .top = 42, .width = 70, .height = 21},
        {.name = "height box", .control = kHeightBox, .left = 60, .top = 75, .width = 70, .height = 21},
        {.name = "weight unit box", .control = kWeightUnitBox, .left = 138, .top = 42, .width = 70, .height = 21},
        {.name = "height unit box", .control = kHeightUnitBox, .left = 138, .top = 75, .width = 70, .height = 21},
        {.name = "button", .control = kCalculateButton, .left = 60, .top = 108, .width = 91, .height = 25},
        {.name = "status box", .control = kStatusBox, .left = 60, .top = 180, .width = 148, .height = 54},
        {.name = "BMI box", .control = kBmiBox, .left = 60, .top = 147, .width = 148, .height = 21},
        {.name = "method label", .control = kMethodLabel, .left = 9, .top = 12},
        {.name = "weight label", .control = kWeightLabel, .left = 9, .top = 45},
        {.name = "height label", .control = kHeightLabel, .left = 9, .top = 78},
        {.name = "status label", .control = kStatusLabel, .left = 9, .top = 183},
        {.name = "BMI label", .control = kBmiLabel, .left = 9, .top = 150},
    };
    // clang-format on
    return rows;
}

// The focus in a box, another window made active and then this one again:
// the focus comes back to the box, its text and caret as they were.
struct FocusReturn {
    std::string name;
    std::string_view box;
    std::string typed = {};
};

inline const std::vector<FocusReturn>& focusReturns() {
    // clang-format off
    static const std::vector<FocusReturn> rows{
        {.name = "height box", .box = kHeightBox, .typed = "1.75"},
        {.name = "button", .box = kCalculateButton},
    };
    // clang-format on
    return rows;
}

// A text the program sets that is wider than its box: the box shows its
// beginning, as a unit box's "Pounds" must not show as "ounds", nor a long
// BMI as its exponent.
struct WideText {
    std::string name;
    std::string_view box;
};

inline const std::vector<WideText>& wideTexts() {
    // clang-format off
    static const std::vector<WideText> rows{
        {.name = "unit box", .box = kWeightUnitBox},
        {.name = "BMI box", .box = kBmiBox},
    };
    // clang-format on
    return rows;
}

}  // namespace parvolin::test
