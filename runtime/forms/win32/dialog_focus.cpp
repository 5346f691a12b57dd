#include "runtime/forms/win32/dialog_focus.h"

#include "runtime/forms/win32/controls.h"

namespace parvolin::win32 {
namespace {

// The window's own child that holds `focus` (a combo box for its edit field).
HWND childHolding(HWND window, HWND focus) {
    while (focus != nullptr && GetParent(focus) != window) focus = GetParent(focus);
    return focus;
}

}  // namespace

// A combo box's edit field is selected through the combo box, which selects
// it by itself only the first time it gets the focus and does not offer a
// dialog DLGC_HASSETSEL.
void DialogFocus::focusWithTextSelected(HWND control, ControlKind kind) {
    kept_ = control;
    SetFocus(control);
    if (kind == ControlKind::DropDownCombo)
        SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else if (isTextBox(kind))
        SendMessageW(control, EM_SETSEL, 0, -1);
}

void DialogFocus::focusFirst(HWND window) {
    kept_ = GetNextDlgTabItem(window, nullptr, FALSE);
    SetFocus(kept_);
}

void DialogFocus::remember(HWND window) {
    if (HWND focused = GetFocus(); focused != nullptr && IsChild(window, focused)) kept_ = focused;
}

void DialogFocus::restore() {
    if (kept_ == nullptr) return;
    restoring_ = true;
    SetFocus(kept_);
    restoring_ = false;
}

// A combo box's edit field keeps its selection when the focus leaves it
// (Wine then still draws it highlighted), and the box selects it all by
// itself only the first time it gets the focus: on every later visit by the
// keyboard its text comes selected from here, as an edit's does in a
// dialog. A click keeps the caret where it put it, and so does the user's
// return to the window.
void DialogFocus::comboFocused(HWND combo) const {
    if (GetKeyState(VK_LBUTTON) >= 0 && !restoring_)
        SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void DialogFocus::comboUnfocused(HWND combo) { unselectEditText(combo); }

// IsDialogMessage sends WM_NEXTDLGCTL for Tab and Shift+Tab and for the arrow
// keys on a control that does not take them (the button).
HWND DialogFocus::nextControl(HWND window, WPARAM target, bool named) {
    const HWND current = childHolding(window, GetFocus());
    if (!named) return GetNextDlgTabItem(window, current, target != 0);
    const auto next = reinterpret_cast<HWND>(target);
    if (!IsChild(window, next)) return nullptr;
    if (GetWindowLongPtrW(next, GWL_STYLE) & WS_TABSTOP) return next;
    const bool backwards = GetNextDlgGroupItem(window, current, FALSE) != next;
    return GetNextDlgTabItem(window, next, backwards);
}

}  // namespace parvolin::win32
