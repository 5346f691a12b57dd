#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace parvolin::win32 {

// Handles released on every path.
struct WindowCloser {
    void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct GdiObjectDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
struct IconDeleter {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct ModuleCloser {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

}  // namespace parvolin::win32
