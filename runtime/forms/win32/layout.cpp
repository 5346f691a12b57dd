#include "runtime/forms/win32/layout.h"

#include <cstdlib>
#include <string>

#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/text.h"
#include "runtime/forms/win32/window_class.h"

namespace parvolin::win32 {
namespace {

// How many items a drop-down list shows before it scrolls.
constexpr int kVisibleListItems = 8;

struct ClientDc {
    HWND window;
    HDC dc = GetDC(window);
    ~ClientDc() { ReleaseDC(window, dc); }
};

bool messageLogFont(UINT dpi, LOGFONTW& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return false;
    font = metrics.lfMessageFont;
    return true;
}

// The font's size in points: its height is in pixels at `dpi`.
double scaleOf(const LOGFONTW& font, UINT dpi) {
    return parvolin::layoutScale(std::abs(font.lfHeight) * 72.0 / dpi);
}

}  // namespace

WindowFont messageFont(UINT dpi) {
    LOGFONTW font{};
    if (!messageLogFont(dpi, font))  // deleting the stock font does nothing
        return {UniqueFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), 1.0};
    return {UniqueFont(CreateFontIndirectW(&font)), scaleOf(font, dpi)};
}

double messageFontScale(UINT dpi) {
    LOGFONTW font{};
    return messageLogFont(dpi, font) ? scaleOf(font, dpi) : 1.0;
}

SIZE captionSize(HWND label, HFONT font) {
    const std::wstring caption = windowText(label);
    const ClientDc client{label};
    const HGDIOBJ previous = SelectObject(client.dc, font);
    RECT extent{};
    DrawTextW(client.dc, caption.c_str(), static_cast<int>(caption.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(client.dc, previous);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

SIZE frameSize(int clientWidth, int clientHeight, UINT dpi, double scale) {
    const int pixelsPerInch = static_cast<int>(dpi);
    RECT frame{0, 0, twipsToPixels(clientWidth, pixelsPerInch, scale),
               twipsToPixels(clientHeight, pixelsPerInch, scale)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The selection field's height is set, not the box's: the box is that plus
// its frame. Windows and Wine disagree on how the height set relates to the
// one read back, so the box is measured after the first setting and mended
// once.
void setClosedComboHeight(HWND combo, int height) {
    const auto closedHeight = [combo] {
        RECT closed{};
        GetWindowRect(combo, &closed);
        return closed.bottom - closed.top;
    };
    const auto field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (field == CB_ERR) return;
    auto asked = field + height - closedHeight();
    for (int attempt = 0; attempt < 2 && asked > 0; ++attempt) {
        if (closedHeight() == height) return;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
        asked += height - closedHeight();
    }
}

// Twips become pixels at the window's DPI, grown by the message font's
// scale; a label takes its caption's size.
void Form::layOut(UINT dpi) {
    // The old font is deleted only once no control uses it any more.
    WindowFont font = messageFont(dpi);
    const auto px = [&](int twips) {
        return twipsToPixels(twips, static_cast<int>(dpi), font.scale);
    };
    for (const Control& control : controls_) {
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.font.get()), FALSE);
        const TwipRect& place = control.design->place;
        int width = px(place.width), height = px(place.height);
        if (control.design->kind == ControlKind::Label) {
            const SIZE size = captionSize(control.window, font.font.get());
            width = size.cx;
            height = size.cy;
        } else if (control.design->kind == ControlKind::DropDownCombo) {
            // A combo box's height includes its drop-down list.
            height += kVisibleListItems *
                      static_cast<int>(SendMessageW(control.window, CB_GETITEMHEIGHT, 0, 0));
        }
        SetWindowPos(control.window, nullptr, px(place.left), px(place.top), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (control.design->kind == ControlKind::DropDownCombo)
            setClosedComboHeight(control.window, px(place.height));
    }
    font_ = std::move(font.font);
    InvalidateRect(window_, nullptr, TRUE);
}

SIZE Form::frameSize(UINT dpi) const {
    return win32::frameSize(design_.clientWidth, design_.clientHeight, dpi, messageFontScale(dpi));
}

void Form::fitFrame() {
    const UINT current = dpi();
    const SIZE size = frameSize(current);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

}  // namespace parvolin::win32
