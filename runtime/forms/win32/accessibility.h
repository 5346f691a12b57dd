#pragma once

#include <windows.h>
#include <wtypes.h>  // BSTR

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

struct IAccPropServices;
struct IRawElementProviderSimple;

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

// Speaks sentences through screen readers with UI Automation's notification
// (Windows 10 version 1709 and later), as a web page's polite live region:
// after what the screen reader is saying, the focus left where it is.
// UIAutomationCore and OleAut32 are loaded from System32 on first use; where
// the notification is missing (an older Windows, Wine), nothing is announced.
class Announcer {
public:
    // UI Automation's UiaHostProviderFromHwnd and UiaRaiseNotificationEvent.
    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple*, int kind, int processing,
                                               BSTR text, BSTR activity);

    Announcer() = default;
    // Calls these in place of UI Automation's, so that a test sees the calls.
    Announcer(HostProvider hostProvider, RaiseNotification raiseNotification)
        : hostProvider_(hostProvider), raiseNotification_(raiseNotification) {}
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    // Announces `sentence` for `window`. Returns false where nothing could be
    // announced.
    bool announce(HWND window, const std::wstring& sentence);

private:
    bool load();

    struct ModuleCloser {
        void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
    };
    using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleCloser>;

    UniqueModule uiAutomation_, oleAut_;
    HostProvider hostProvider_ = nullptr;
    RaiseNotification raiseNotification_ = nullptr;
    BSTR(WINAPI* allocString_)(const OLECHAR*) = nullptr;
    void(WINAPI* freeString_)(BSTR) = nullptr;
    bool loaded_ = false;
};

// The announcer over the system's UI Automation, for the program's windows.
Announcer& systemAnnouncer();

}  // namespace parvolin::win32
