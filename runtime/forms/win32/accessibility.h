#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

struct IAccPropServices;

namespace parvolin::win32 {

// Names controls for screen readers through the accessibility property
// service, a COM object in oleacc.dll. COM and oleacc are loaded on first
// use, not at start: a window is shown before it is named, and a program
// that imported them would load both before its window could appear.
class AccessibleNames {
public:
    AccessibleNames() = default;
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // Gives a control the name screen readers announce (for a box that no
    // label names). Returns false where the service is missing; the control
    // then keeps its default name.
    bool name(HWND control, const std::wstring& name);
    // Takes the names off again. A name is kept among its control's window
    // properties, which must be gone before the control is destroyed.
    void clear() noexcept;

private:
    bool load();

    struct ModuleCloser {
        void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
    };
    using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

    // Declared in the order they are needed; released in reverse: the
    // service, then the COM apartment, then the libraries.
    UniqueModule ole32_, oleacc_;
    bool comInitialized_ = false;
    IAccPropServices* services_ = nullptr;
    bool loaded_ = false;
    std::vector<HWND> named_;
};

}  // namespace parvolin::win32
