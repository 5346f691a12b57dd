#include "runtime/forms/win32/controls.h"
#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {
namespace {

std::wstring listItem(HWND combo, LRESULT index) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1,
                      L'\0');
    item.resize(static_cast<std::size_t>(
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
    return item;
}

bool showsSelectedItem(HWND combo) {
    const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return index != CB_ERR && windowText(combo) == listItem(combo, index);
}

}  // namespace

// IDOK and IDCANCEL come from IsDialogMessage for Enter and Escape. Neither
// presses anything, except that Enter presses the push button that has the
// focus, as Windows buttons do.
void Form::onCommand(WORD id, WORD code) {
    const Control* source = nullptr;
    if (id == IDOK) {
        for (const Control& control : controls_)
            if (control.window == GetFocus() && control.design->kind == ControlKind::PushButton)
                source = &control;
        code = BN_CLICKED;
    } else if (id >= kFirstControlId && id < kFirstControlId + static_cast<int>(controls_.size())) {
        source = &controls_[static_cast<std::size_t>(id - kFirstControlId)];
    }
    if (source == nullptr) return;
    const bool isCombo = source->design->kind == ControlKind::DropDownCombo;
    // A combo box's edit field keeps its selection when the focus leaves it
    // (Wine then still draws it highlighted), and the box selects it all by
    // itself only the first time it gets the focus: on every later visit by
    // the keyboard its text comes selected from here, as an edit's does in a
    // dialog. A click keeps the caret where it put it, and so does the user's
    // return to the window.
    if (isCombo && code == CBN_KILLFOCUS) unselectEditText(source->window);
    if (isCombo && code == CBN_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0 && !restoringFocus_)
        SendMessageW(source->window, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    // A pick: an arrow key on the closed box (CBN_SELCHANGE), or the open list
    // closing on an item, by Enter or a click (CBN_SELENDOK, which comes
    // without CBN_SELCHANGE when the list opened on the typed text), or by
    // Alt+Up or F4, which Wine reports as a cancel: so any close-up on the
    // item the box shows picks it, but Escape's and a click elsewhere's.
    // Two notifications may come for one pick; rebuilding twice does no harm.
    const bool picked =
        isCombo && (code == CBN_SELCHANGE || code == CBN_SELENDOK ||
                    (code == CBN_CLOSEUP && GetKeyState(VK_ESCAPE) >= 0 &&
                     GetKeyState(VK_LBUTTON) >= 0 && showsSelectedItem(source->window)));
    for (const EventBinding& binding : design_.events) {
        if (binding.control != source->design->name) continue;
        if (binding.event == ControlEvent::Press && code == BN_CLICKED) run(binding.handler);
        if (binding.event == ControlEvent::Pick && picked) pick(*source, binding.handler);
    }
}

// The edit field takes the picked item only after the notification; the
// handler reads the pick, so it goes in first.
void Form::pick(const Control& box, Handler handler) {
    const auto index = SendMessageW(box.window, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    SetWindowTextW(box.window, listItem(box.window, index).c_str());
    run(handler);
}

// A failure reaches the user as a message box, and the focus goes to the box
// to correct. If even the report fails, the window procedure's boundary
// catches that.
void Form::run(Handler handler) {
    const auto failure = runHandler(handler, *this, design_);
    if (!failure || failure->message.empty()) return;
    reporter_.report(window_, toUtf16(failure->message));
    focusForCorrection(failure->correctionBox);
}

}  // namespace parvolin::win32
