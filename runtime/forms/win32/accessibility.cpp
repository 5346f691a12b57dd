#include "runtime/forms/win32/accessibility.h"

#include <initguid.h>
#include <oleacc.h>

namespace parvolin::win32 {
namespace {

// Releases a COM interface on every path.
template <typename Interface>
struct ComPtr {
    Interface* p = nullptr;
    ~ComPtr() {
        if (p != nullptr) p->Release();
    }
};

}  // namespace

ComApartment::ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
}

bool setAccessibleName(HWND control, const std::wstring& name) {
    ComPtr<IAccPropServices> services;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services.p))))
        return false;
    return SUCCEEDED(services.p->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, PROPID_ACC_NAME, name.c_str()));
}

std::wstring accessibleName(HWND control) {
    ComPtr<IAccessible> accessible;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible.p))))
        return {};
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(accessible.p->get_accName(self, &name)) || name == nullptr) return {};
    std::wstring result(name, SysStringLen(name));
    SysFreeString(name);
    return result;
}

}  // namespace parvolin::win32
