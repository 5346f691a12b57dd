#include "runtime/forms/win32/window_class.h"

#include <commctrl.h>

#include <stdexcept>

namespace parvolin::win32 {

void registerWindowClass(WNDPROC windowProc) {
    static const bool registered = [windowProc] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The dialog colour, on which the labels are drawn.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("cannot register the window class");
}

void trimSystemMenu(HWND window) {
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    for (const UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
        DeleteMenu(menu, command, MF_BYCOMMAND);
}

}  // namespace parvolin::win32
