#pragma once

#include <windows.h>

#include "runtime/forms/handler_frame.h"

namespace parvolin::win32 {

// The standard report: a message box owned by the window (so modal to it),
// titled with the window's caption, an error icon and one OK button.
class MessageBoxReporter final : public parvolin::ErrorReporter<HWND> {
public:
    void report(HWND window, std::string_view message) override;
};

}  // namespace parvolin::win32
