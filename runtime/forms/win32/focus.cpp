#include "runtime/forms/win32/controls.h"
#include "runtime/forms/win32/form.h"

namespace parvolin::win32 {
namespace {

// The window's own child that holds `focus` (a combo box for its edit field).
HWND childHolding(HWND window, HWND focus) {
    while (focus != nullptr && GetParent(focus) != window) focus = GetParent(focus);
    return focus;
}

}  // namespace

// Leaving the window, it keeps the control that had the focus: on return,
// DefWindowProc would give the focus to the window itself.
void Form::rememberFocus() {
    if (HWND focused = GetFocus(); focused != nullptr && IsChild(window_, focused))
        focus_ = focused;
}

void Form::restoreFocus() {
    if (focus_ == nullptr) return;
    restoringFocus_ = true;
    SetFocus(focus_);
    restoringFocus_ = false;
}

// What a dialog does with WM_NEXTDLGCTL, which IsDialogMessage sends for Tab
// and Shift+Tab and for the arrow keys on a control that does not take them
// (the button): the next or
// previous control, or the one named, gets the focus with its text selected.
// A label cannot hold the focus: the move goes on to the box it names, or
// back to the one before it.
void Form::moveFocus(WPARAM target, bool named) {
    const HWND current = childHolding(window_, GetFocus());
    HWND next = nullptr;
    if (!named) {
        next = GetNextDlgTabItem(window_, current, target != 0);
    } else {
        next = reinterpret_cast<HWND>(target);
        if (!IsChild(window_, next)) return;
        if (!(GetWindowLongPtrW(next, GWL_STYLE) & WS_TABSTOP)) {
            const bool backwards = GetNextDlgGroupItem(window_, current, FALSE) != next;
            next = GetNextDlgTabItem(window_, next, backwards);
        }
    }
    for (const Control& control : controls_)
        if (control.window == next) focusWithTextSelected(control);
}

// The box the message named gets the focus with its text selected.
void Form::focusForCorrection(std::string_view name) {
    if (name.empty() || window_ == nullptr) return;
    focusWithTextSelected(find(name));
}

// With its whole text selected, typing replaces it. A combo box's edit field
// is selected through the combo box, which selects it by itself only the
// first time it gets the focus and does not offer a dialog DLGC_HASSETSEL.
void Form::focusWithTextSelected(const Control& control) {
    focus_ = control.window;
    SetFocus(control.window);
    if (control.design->kind == ControlKind::DropDownCombo)
        SendMessageW(control.window, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else if (isTextBox(control.design->kind))
        SendMessageW(control.window, EM_SETSEL, 0, -1);
}

}  // namespace parvolin::win32
