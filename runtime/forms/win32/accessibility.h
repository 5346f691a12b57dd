#pragma once

#include <windows.h>
#include <wtypes.h>  // BSTR

#include <string>
#include <vector>

#include "runtime/forms/win32/handles.h"

struct IAccPropServices;
struct IRawElementProviderSimple;

namespace parvolin::win32 {

// oleacc.h's identifiers of the accessibility property service, defined here
// because oleacc is loaded at run time, not linked (its import library's
// copies would be linked with it).
inline constexpr GUID kAccPropServicesClass{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
inline constexpr GUID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
inline constexpr GUID kNameProperty{
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

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
