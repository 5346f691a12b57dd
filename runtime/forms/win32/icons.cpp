#include "runtime/forms/win32/form.h"

namespace parvolin::win32 {

// The caption's and the task switcher's icons, drawn for the window's DPI
// from the executable's .ico, so that neither is a scaled-up small image.
void Form::setIcons(UINT dpi) {
    if (iconName_.empty()) return;
    const auto load = [&](int width, int height) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), iconName_.c_str(),
                                             IMAGE_ICON, GetSystemMetricsForDpi(width, dpi),
                                             GetSystemMetricsForDpi(height, dpi), 0));
    };
    // The new icons are in place before the old ones are destroyed.
    UniqueIcon big(load(SM_CXICON, SM_CYICON)), small(load(SM_CXSMICON, SM_CYSMICON));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

}  // namespace parvolin::win32
