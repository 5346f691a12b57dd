#include <stdexcept>
#include <string>

#include "runtime/forms/win32/controls.h"
#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {

const Form::Control& Form::find(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.design->name == name) return control;
    throw std::out_of_range("no control named " + std::string(name));
}

const Form::Control& Form::findList(std::string_view name) const {
    const Control& box = find(name);
    if (box.design->kind != ControlKind::DropDownCombo)
        throw std::invalid_argument(std::string(name) + " has no list");
    return box;
}

HWND Form::control(std::string_view name) const { return find(name).window; }

std::string Form::text(std::string_view name) const {
    const Control& box = find(name);
    if (!isTextBox(box.design->kind))
        throw std::invalid_argument(std::string(name) + " has no text to read");
    return toUtf8(windowText(box.window));
}

void Form::setText(std::string_view name, std::string_view text) {
    const Control& box = find(name);
    if (!isTextBox(box.design->kind))
        throw std::invalid_argument(std::string(name) + " has no text to set");
    if (!SetWindowTextW(box.window, toUtf16(text).c_str()))
        throw std::runtime_error("cannot set the text of " + std::string(name));
    if (box.design->kind == ControlKind::DropDownCombo && GetFocus() != box.window &&
        !IsChild(box.window, GetFocus()))
        unselectEditText(box.window);
}

void Form::setListItem(std::string_view name, int index, std::string_view text) {
    const HWND box = findList(name).window;
    const auto count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    if (index < 0 || index > count)
        throw std::out_of_range("list index " + std::to_string(index) + " is out of range");
    if (index < count) SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    const std::wstring item = toUtf16(text);
    const auto result = SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(item.c_str()));
    if (result == CB_ERR || result == CB_ERRSPACE)
        throw std::runtime_error("cannot set an item of " + std::string(name));
    // The first item of an empty list becomes the selection, as it does in
    // Qt: the arrow keys then step on from it.
    if (count == 0) SendMessageW(box, CB_SETCURSEL, 0, 0);
}

void Form::clearList(std::string_view name) {
    SendMessageW(findList(name).window, CB_RESETCONTENT, 0, 0);
}

NumberLocale Form::numberLocale() const {
    wchar_t separator[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                        LOCALE_NAME_MAX_LENGTH) <= 1)
        return NumberLocale{};
    return NumberLocale{toUtf8(separator)};
}

}  // namespace parvolin::win32
