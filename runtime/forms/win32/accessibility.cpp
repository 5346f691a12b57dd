#include "runtime/forms/win32/accessibility.h"

#include <oleacc.h>
#include <uiautomationcore.h>

namespace parvolin::win32 {
namespace {

// UI Automation's NotificationKind_ActionCompleted and
// NotificationProcessing_MostRecent, which MinGW's headers lack. A result is
// an action completed; "most recent" is the polite processing: read after
// what is being said, a newer one of the same activity replacing one not
// read yet (Calculate! pressed twice quickly is read once).
constexpr int kActionCompleted = 2;
constexpr int kMostRecent = 3;
constexpr wchar_t kActivity[] = L"Parvolin.Announcement";

template <typename Function>
Function entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

AccessibleNames::~AccessibleNames() {
    if (services_ != nullptr) services_->Release();
    if (comInitialized_) {
        if (auto uninitialize = entry<void(WINAPI*)()>(ole32_.get(), "CoUninitialize"))
            uninitialize();
    }
}

bool AccessibleNames::load() {
    if (loaded_) return services_ != nullptr;
    loaded_ = true;
    // From System32 only, by name: oleacc.dll is not one of Windows' known
    // DLLs, and a bare name would find one beside the program first.
    ole32_.reset(LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    oleacc_.reset(LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!ole32_ || !oleacc_) return false;
    const auto initialize = entry<HRESULT(WINAPI*)(void*, DWORD)>(ole32_.get(), "CoInitializeEx");
    const auto create = entry<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(
        ole32_.get(), "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) return false;
    comInitialized_ = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(create(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                      kAccPropServicesInterface, reinterpret_cast<void**>(&services_))))
        services_ = nullptr;
    return services_ != nullptr;
}

bool AccessibleNames::name(HWND control, const std::wstring& name) {
    if (!load()) return false;
    named_.push_back(control);  // first: no name is given that could not be taken off
    if (SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            kNameProperty, name.c_str())))
        return true;
    named_.pop_back();
    return false;
}

void AccessibleNames::clear() noexcept {
    for (const HWND control : named_)
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  &kNameProperty, 1);
    named_.clear();
}

bool Announcer::load() {
    if (loaded_) return raiseNotification_ != nullptr && allocString_ != nullptr;
    loaded_ = true;
    // From System32 only, by name, as oleacc above.
    if (raiseNotification_ == nullptr) {
        uiAutomation_.reset(
            LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!uiAutomation_) return false;
        hostProvider_ = entry<HostProvider>(uiAutomation_.get(), "UiaHostProviderFromHwnd");
        raiseNotification_ =
            entry<RaiseNotification>(uiAutomation_.get(), "UiaRaiseNotificationEvent");
        if (hostProvider_ == nullptr) raiseNotification_ = nullptr;
    }
    oleAut_.reset(LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!oleAut_) return false;
    allocString_ = entry<BSTR(WINAPI*)(const OLECHAR*)>(oleAut_.get(), "SysAllocString");
    freeString_ = entry<void(WINAPI*)(BSTR)>(oleAut_.get(), "SysFreeString");
    if (freeString_ == nullptr) allocString_ = nullptr;
    return raiseNotification_ != nullptr && allocString_ != nullptr;
}

bool Announcer::announce(HWND window, const std::wstring& sentence) {
    if (!load()) return false;
    const std::unique_ptr<OLECHAR, void(WINAPI*)(BSTR)> text(allocString_(sentence.c_str()),
                                                             freeString_);
    const std::unique_ptr<OLECHAR, void(WINAPI*)(BSTR)> activity(allocString_(kActivity),
                                                                 freeString_);
    if (!text || !activity) return false;
    IRawElementProviderSimple* provider = nullptr;
    if (FAILED(hostProvider_(window, &provider))) return false;
    const HRESULT raised =
        raiseNotification_(provider, kActionCompleted, kMostRecent, text.get(), activity.get());
    if (provider != nullptr) provider->Release();
    return SUCCEEDED(raised);
}

Announcer& systemAnnouncer() {
    static Announcer announcer;
    return announcer;
}

}  // namespace parvolin::win32
