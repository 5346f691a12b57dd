#include "runtime/forms/win32/accessibility.h"

#include <oleacc.h>

namespace parvolin::win32 {
namespace {

// oleacc.h's identifiers, defined here because oleacc is not linked.
constexpr GUID kAccPropServicesClass{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty{
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

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

}  // namespace parvolin::win32
