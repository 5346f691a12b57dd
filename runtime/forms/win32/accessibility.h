#pragma once

#include <windows.h>

#include <string>

namespace parvolin::win32 {

// COM for this thread, for as long as it lives: the accessibility property
// service is a COM object.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// Gives a control the name screen readers announce, through the
// accessibility property service (for a box that no label names). Returns
// false where the service is missing; the control then keeps its default name.
bool setAccessibleName(HWND control, const std::wstring& name);

// The name a screen reader announces for a control, through Microsoft Active
// Accessibility; empty where none can be had.
std::wstring accessibleName(HWND control);

}  // namespace parvolin::win32
