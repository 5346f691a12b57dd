#include "runtime/forms/win32/controls.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {
namespace {

// A multi-line edit wants every key, Tab and Escape included; in this window
// Tab moves on and Escape does nothing, as everywhere else. (Inside a
// dialog, the edit itself would close the window on Escape.)
LRESULT CALLBACK multiLineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
    // Removed as the edit goes, as comctl32 asks: its record of the
    // subclass would otherwise outlive the edit.
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, multiLineProc, id);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam != 0) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && (key->wParam == VK_TAB || key->wParam == VK_ESCAPE))
            result &= ~DLGC_WANTALLKEYS;
    }
    return result;
}

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

NativeClass nativeClass(const ControlDesign& design) {
    switch (design.kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::DropDownCombo:
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ControlKind::TextBox:
        return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::MultiLineTextBox:
        // No horizontal scrolling: the text wraps at word boundaries.
        return {L"EDIT",
                WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
    case ControlKind::PushButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    throw std::invalid_argument(std::string(design.name) + " is of a kind this window cannot make");
}

}  // namespace

std::wstring listItem(HWND combo, LRESULT index) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1,
                      L'\0');
    item.resize(static_cast<std::size_t>(
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
    return item;
}

void unselectEditText(HWND combo) { SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0)); }

bool isTextBox(ControlKind kind) {
    return kind == ControlKind::DropDownCombo || kind == ControlKind::TextBox ||
           kind == ControlKind::MultiLineTextBox;
}

HWND createControl(HWND parent, const ControlDesign& design, int id) {
    const NativeClass native = nativeClass(design);
    HWND control = CreateWindowExW(native.exStyle, native.name, toUtf16(design.text).c_str(),
                                   WS_CHILD | WS_VISIBLE | native.style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) throw std::runtime_error("cannot create " + std::string(design.name));
    if (design.kind == ControlKind::MultiLineTextBox)
        SetWindowSubclass(control, multiLineProc, 1, 0);
    for (std::string_view item : design.items)
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toUtf16(item).c_str()));
    if (design.kind == ControlKind::DropDownCombo) {
        // The list's selection follows the shown text, so that the arrow keys
        // step on from the item shown.
        const std::wstring text = toUtf16(design.text);
        const auto index = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
        if (index != CB_ERR) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetWindowTextW(control, text.c_str());
        unselectEditText(control);
    }
    return control;
}

}  // namespace parvolin::win32
