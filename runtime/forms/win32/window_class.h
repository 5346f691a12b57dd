#pragma once

#include <windows.h>

namespace parvolin::win32 {

// The window's frame: a caption with the system menu, no sizing border and
// no minimize or maximize box, for a window of fixed design size.
inline constexpr wchar_t kWindowClass[] = L"ParvolinForm";
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

// Registers the window class once per process, with `windowProc` as its
// window procedure; throws if Windows refuses it.
void registerWindowClass(WNDPROC windowProc);

// Leaves only Move and Close in the window's system menu: a fixed window
// cannot be restored, sized, minimized or maximized, and Windows would still
// list those, greyed.
void trimSystemMenu(HWND window);

}  // namespace parvolin::win32
