#include "runtime/forms/win32/message_box_reporter.h"

#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {

void MessageBoxReporter::report(HWND window, std::string_view message) {
    const std::wstring title = window ? windowText(window) : std::wstring();
    MessageBoxW(window, toUtf16(message).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace parvolin::win32
