#include "runtime/forms/win32/layout.h"

#include <cstdlib>
#include <cwchar>
#include <string>
#include <tuple>

#include "runtime/forms/win32/text.h"
#include "runtime/forms/win32/window_class.h"

namespace parvolin::win32 {
namespace {

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

auto fontShape(const LOGFONTW& font) {
    return std::tie(font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation,
                    font.lfWeight, font.lfItalic, font.lfUnderline, font.lfStrikeOut,
                    font.lfCharSet, font.lfOutPrecision, font.lfClipPrecision, font.lfQuality,
                    font.lfPitchAndFamily);
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

bool isMessageFont(HFONT font, UINT dpi) {
    LOGFONTW wanted{}, used{};
    if (!messageLogFont(dpi, wanted)) return true;
    if (GetObjectW(font, sizeof used, &used) != sizeof used) return false;
    return fontShape(wanted) == fontShape(used) &&
           std::wcsncmp(wanted.lfFaceName, used.lfFaceName, LF_FACESIZE) == 0;
}

RECT workAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
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

SIZE windowSizeForClient(int clientWidth, int clientHeight, UINT dpi, double scale) {
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

}  // namespace parvolin::win32
