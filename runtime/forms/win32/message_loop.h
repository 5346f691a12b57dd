#pragma once

#include <windows.h>

#include "runtime/forms/win32/form.h"

namespace parvolin::win32 {

// Runs the message loop until the window closes; returns the exit status.
// IsDialogMessage gives the window a dialog's keyboard: Tab and Shift+Tab,
// the arrow keys between controls, and Enter and Escape turned into IDOK and
// IDCANCEL commands.
int runMessageLoop(const Form& form);

// Handles one message as the loop does.
void dispatchMessage(const Form& form, MSG& message);

}  // namespace parvolin::win32
