#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {

void MessageBoxReporter::report(HWND window, const std::wstring& message) {
    const std::wstring title = window ? windowText(window) : std::wstring();
    MessageBoxW(window, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace parvolin::win32
