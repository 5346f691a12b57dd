#pragma once

#include <windows.h>

#include <string>

#include "runtime/forms/form_design.h"

namespace parvolin::win32 {

// Creates the native control for one control of the design as a child of
// `parent` with the command id `id`, its text and list filled in; throws if
// Windows cannot create it or the design names a kind this runtime lacks.
HWND createControl(HWND parent, const ControlDesign& design, int id);

// A combo box selects its whole edit text when the text is set; in a box
// without the focus that shows as a highlight the user did not make.
void unselectEditText(HWND combo);

// The text of a combo box's list item at `index`.
std::wstring listItem(HWND combo, LRESULT index);

// Whether the kind of control holds a text the user types.
bool isTextBox(ControlKind kind);

}  // namespace parvolin::win32
