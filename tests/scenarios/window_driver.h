#pragma once

// The window as a test drives it: the gestures a person makes and what the
// person then sees, by the controls' designer names. The Qt window and the
// Win32 window each implement it, so that one table of gestures holds both
// to the same behaviour.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/forms/form_design.h"

namespace parvolin::test {

// Keys pressed on the control that has the focus.
enum class Key { Tab, ShiftTab, Enter, KeypadEnter, Escape, Space, F4, Up, Down, Left, Right };

// The ways a person picks an item from a combo box's list. The open-list
// ways move to the item with the arrow keys, unless the list already opened
// on it, and then close the list as named; closing it with Escape is no pick.
enum class PickBy {
    ArrowsOnClosedBox,
    MouseOnOpenList,  // the list opened by its arrow, the item clicked
    F4ThenClick,
    F4ArrowsEnter,
    AltDownArrowsEnter,
    F4ArrowsAltUp,
    F4ArrowsF4,
    F4ArrowsEscape,
};

// The ways a person leaves an open list without choosing from it. The click
// is on the Height box, which the open Method list does not cover (it covers
// the Weight box).
enum class LeaveBy { Tab, ShiftTab, ClickIntoHeightBox, AnotherWindow };

class WindowDriver {
public:
    virtual ~WindowDriver() = default;

    // Gestures.
    virtual void focus(std::string_view control) = 0;
    // Replaces a box's text as a person does: focus, select all, type. A text
    // too long to type in a test comes at once, as a paste would.
    virtual void type(std::string_view box, std::string_view text) = 0;
    // Replaces a box's text by a paste over its whole text.
    virtual void paste(std::string_view box, std::string_view text) = 0;
    // Types or pastes into the focused control where its caret is.
    virtual void typeAtCaret(std::string_view text) = 0;
    virtual void pasteAtCaret(std::string_view text) = 0;
    virtual void key(Key key) = 0;
    // Picks `item` from the box's list; with F4ArrowsEscape it ends in no pick.
    virtual void pick(std::string_view box, std::string_view item, PickBy how) = 0;
    // Why this system could not show the last pick or leave as the row means
    // it, or empty: Wine reports some closes of the list as a cancel where
    // Windows reports a selection; Qt's open list takes no Tab.
    virtual std::string unseenGesture() const { return {}; }
    // Opens the box's list with F4 and leaves it as named, choosing nothing.
    virtual void openListAndLeave(std::string_view box, LeaveBy how) = 0;
    // Another window is made active, then this one again.
    virtual void leaveTheWindowAndComeBack() = 0;
    // A click into a box, or on the button.
    virtual void click(std::string_view control) = 0;
    // A text the program sets (the outputs of an earlier press), not typed.
    virtual void setText(std::string_view control, std::string_view text) = 0;

    // What the person sees.
    virtual std::string text(std::string_view control) const = 0;
    virtual std::vector<std::string> items(std::string_view box) const = 0;
    // The item a combo box's list holds selected; empty for none, or for a
    // box with no list.
    virtual std::string selectedItem(std::string_view box) const = 0;
    // The control with the focus; a combo box's edit field counts as the box.
    virtual std::string focused() const = 0;
    // Whether the focused box's whole text is selected, so that typing
    // replaces it; true for a control with no text to type into.
    virtual bool wholeTextSelected() const = 0;
    // The focused box's selection, as the first and the past-the-last
    // character selected: equal where only the caret is.
    virtual std::pair<int, int> selection() const = 0;
    // Whether a box shows the beginning of a text wider than itself.
    virtual bool showsTheBeginning(std::string_view box) const = 0;
    virtual bool isShown() const = 0;
    // Where a control sits in the client area, in pixels: left, top, width
    // and height.
    virtual std::array<int, 4> placement(std::string_view control) const = 0;
    // Pixels at 96 dpi in pixels at the window's DPI.
    virtual int scaled(int pixelsAt96) const = 0;
    // The client area's size in pixels.
    virtual std::pair<int, int> clientSize() const = 0;
    // The error reports shown so far, and whether each was modal to the window.
    virtual std::vector<std::string> reports() const = 0;
    virtual bool reportsWereModalToTheWindow() const = 0;

    // What the window gave screen readers to announce since it was last
    // asked, each as "polite: SENTENCE" or "assertive: SENTENCE".
    virtual std::vector<std::string> takeAnnouncements() = 0;

    // Whether the window's boxes can hold `text` at all (a Win32 edit control
    // ends its text at the first NUL).
    virtual bool canHold(std::string_view text) const = 0;
};

// The window built from `design`, loaded and shown with the focus in its
// first box, on whichever toolkit the test is built for.
std::unique_ptr<WindowDriver> openWindow(const FormDesign& design);

}  // namespace parvolin::test
