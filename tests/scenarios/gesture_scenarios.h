#pragma once

// Gestures other than a press of "Calculate!", with what the window must show
// afterwards: tables both windows (Qt and Win32) run through their drivers.
#include <algorithm>
#include <string>
#include <vector>

#include "scenarios/window_driver.h"
#include "ui/form1.h"

namespace parvolin::test {

using Items = std::vector<std::string>;

// The window as it first shows, box by box.
struct InitialBox {
    std::string name;
    std::string text;
    Items items = {};  // a combo box's list
};

inline const std::vector<InitialBox>& initialBoxes() {
    // clang-format off
    static const std::vector<InitialBox> rows{
        {.name = "Combo1", .text = "Imperial", .items = {"Imperial", "Metric"}},
        {.name = "Text1", .text = ""},
        {.name = "Text2", .text = ""},
        {.name = "Combo2", .text = "Pounds", .items = {"Pounds"}},
        {.name = "Combo3", .text = "Feet", .items = {"Feet", "Inches"}},
        {.name = "Text3", .text = ""},
        {.name = "Text4", .text = ""},
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
    std::string box;
    std::string typed;
    std::vector<Key> then = {};  // keys pressed afterwards
    std::string clickInto = {};  // then a click into this box
    Items items;                 // the box's list afterwards
    std::string units;           // the unit boxes afterwards, as Window::units() shows them
};

// The unit boxes as Imperial shows them, with their lists.
inline const std::string kImperialUnits = "Pounds [Pounds,] / Feet [Feet,Inches,]";
inline const std::string kMetricUnits = "Kg [Kg,] / Meters [Meters,]";

inline const Items kMethods{"Imperial", "Metric"};
inline const Items kImperialHeights{"Feet", "Inches"};

inline const std::vector<TypedNotPicked>& typedNotPicked() {
    // clang-format off
    static const std::vector<TypedNotPicked> rows{
        {.name = "Metric then Tab", .box = "Combo1", .typed = "Metric", .then = {Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "Metric then Enter and Tab", .box = "Combo1", .typed = "Metric", .then = {Key::Enter, Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "metric then Enter", .box = "Combo1", .typed = "metric", .then = {Key::Enter}, .items = kMethods, .units = kImperialUnits},
        {.name = "Metric then a click elsewhere", .box = "Combo1", .typed = "Metric", .clickInto = "Text1", .items = kMethods, .units = kImperialUnits},
        {.name = "M then Enter and Tab", .box = "Combo1", .typed = "M", .then = {Key::Enter, Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "i is not completed", .box = "Combo1", .typed = "i", .then = {Key::Tab}, .items = kMethods, .units = kImperialUnits},
        {.name = "Foo is not added", .box = "Combo1", .typed = "Foo", .then = {Key::Enter}, .items = kMethods, .units = kImperialUnits},
        // Foo begins no item: the list opens on none.
        {.name = "Foo, list opened, Enter", .box = "Combo1", .typed = "Foo", .then = {Key::F4, Key::Enter}, .items = kMethods, .units = kImperialUnits},
        {.name = "inches keeps its case", .box = "Combo3", .typed = "inches", .then = {Key::Enter}, .items = kImperialHeights, .units = "Pounds [Pounds,] / inches [Feet,Inches,]"},
        {.name = "inches then Tab", .box = "Combo3", .typed = "inches", .then = {Key::Tab}, .items = kImperialHeights, .units = "Pounds [Pounds,] / inches [Feet,Inches,]"},
        {.name = "Kg is not added to Pounds", .box = "Combo2", .typed = "Kg", .then = {Key::Enter}, .items = {"Pounds"}, .units = "Kg [Pounds,] / Feet [Feet,Inches,]"},
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
// never closes the window.
struct KeyOnControl {
    std::string name;
    std::string control;
    Key key;
    bool presses;
};

inline const std::vector<KeyOnControl>& keysOnControls() {
    // clang-format off
    static const std::vector<KeyOnControl> rows{
        {.name = "Enter in Combo1", .control = "Combo1", .key = Key::Enter, .presses = false},
        {.name = "Enter in Text1", .control = "Text1", .key = Key::Enter, .presses = false},
        {.name = "Enter in Text2", .control = "Text2", .key = Key::Enter, .presses = false},
        {.name = "Enter in Combo2", .control = "Combo2", .key = Key::Enter, .presses = false},
        {.name = "Enter in Combo3", .control = "Combo3", .key = Key::Enter, .presses = false},
        {.name = "Enter in Text3", .control = "Text3", .key = Key::Enter, .presses = false},
        {.name = "Enter in Text4", .control = "Text4", .key = Key::Enter, .presses = false},
        {.name = "keypad Enter in Combo1", .control = "Combo1", .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text1", .control = "Text1", .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text2", .control = "Text2", .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Combo2", .control = "Combo2", .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Combo3", .control = "Combo3", .key = Key::KeypadEnter, .presses = false},
        {.name = "keypad Enter in Text4", .control = "Text4", .key = Key::KeypadEnter, .presses = false},
        {.name = "Escape in Combo1", .control = "Combo1", .key = Key::Escape, .presses = false},
        {.name = "Escape in Text1", .control = "Text1", .key = Key::Escape, .presses = false},
        {.name = "Escape in Text2", .control = "Text2", .key = Key::Escape, .presses = false},
        {.name = "Escape in Combo2", .control = "Combo2", .key = Key::Escape, .presses = false},
        {.name = "Escape in Combo3", .control = "Combo3", .key = Key::Escape, .presses = false},
        {.name = "Escape in Text3", .control = "Text3", .key = Key::Escape, .presses = false},
        {.name = "Escape in Text4", .control = "Text4", .key = Key::Escape, .presses = false},
        {.name = "Escape on the button", .control = "Command1", .key = Key::Escape, .presses = false},
        {.name = "Enter on the button", .control = "Command1", .key = Key::Enter, .presses = true},
        {.name = "Space on the button", .control = "Command1", .key = Key::Space, .presses = true},
    };
    // clang-format on
    return rows;
}

}  // namespace parvolin::test
