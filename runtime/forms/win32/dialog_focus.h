#pragma once

#include <windows.h>

#include "runtime/forms/form_design.h"

namespace parvolin::win32 {

// The focus among a window's controls, kept as a dialog keeps it: a box the
// keyboard visits comes with its whole text selected, so that typing
// replaces it; a click keeps the caret where it put it; and the control that
// had the focus gets it back, as it was, when the user returns to the window
// (DefWindowProc would give it to the window itself). The window tells it
// what happened; it never throws.
class DialogFocus {
public:
    // Gives `control`, of the design's `kind`, the focus with its whole text
    // selected, and keeps it as the control to return to.
    void focusWithTextSelected(HWND control, ControlKind kind);
    // The first control of the tab order gets the focus.
    void focusFirst(HWND window);
    // The window is deactivated: keeps its control that has the focus.
    void remember(HWND window);
    // The window is active again: the kept control gets the focus back.
    void restore();
    // A combo box got or lost the focus (CBN_SETFOCUS, CBN_KILLFOCUS).
    void comboFocused(HWND combo) const;
    static void comboUnfocused(HWND combo);

    // Where WM_NEXTDLGCTL moves the focus, as a dialog does: the next or
    // previous control of the tab order (`named` false, `target` nonzero for
    // backwards), or the control `target` names; a label passes it on to the
    // box it names, or back to the one before. Null when there is no such control.
    static HWND nextControl(HWND window, WPARAM target, bool named);

private:
    HWND kept_ = nullptr;
    // While the focus goes back to the kept control: nothing is selected.
    bool restoring_ = false;
};

}  // namespace parvolin::win32
