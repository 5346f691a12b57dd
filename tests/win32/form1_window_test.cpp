// The Win32 window driven in-process as a person drives it: keys through the
// message loop (Tab, Enter, Escape, the arrows that pick), characters typed,
// the button clicked; read back with the controls' own messages.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "app/project.h"
#include "runtime/error_message.h"
#include "runtime/forms/win32/form.h"
#include "runtime/forms/win32/message_box_reporter.h"
#include "runtime/forms/win32/message_loop.h"
#include "runtime/forms/win32/text.h"
#include "scenarios/press_scenarios.h"
#include "ui/form1.h"
#include "win32_window.h"

using namespace parvolin;
using namespace parvolin::form1;
using parvolin::win32::kAccPropServicesClass;
using parvolin::win32::kAccPropServicesInterface;
using parvolin::win32::kNameProperty;

namespace {

// The name a screen reader announces for a control, through Microsoft Active
// Accessibility; empty where none can be had.
std::wstring accessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&accessible))))
        return {};
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr)
        result.assign(name, SysStringLen(name));
    SysFreeString(name);
    accessible->Release();
    return result;
}

// An accessibility property service that keeps the names it is given, for
// a system whose own service stores none (Wine's answers E_NOTIMPL).
// Registered in the test's COM apartment, it is what the window creates.
class RecordingPropertyService final : public IAccPropServices, public IClassFactory {
public:
    std::vector<std::pair<HWND, std::wstring>> names;  // OBJID_CLIENT, CHILDID_SELF
    std::vector<HWND> cleared;

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IUnknown || iid == kAccPropServicesInterface)
            *object = static_cast<IAccPropServices*>(this);
        else if (iid == IID_IClassFactory)
            *object = static_cast<IClassFactory*>(this);
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 2; }  // lives on the test's stack
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        return QueryInterface(iid, object);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                  LPCWSTR text) override {
        if (object == static_cast<DWORD>(OBJID_CLIENT) && child == CHILDID_SELF &&
            property == kNameProperty)
            names.emplace_back(window, text);
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID* properties,
                                  int count) override {
        if (std::find(properties, properties + count, kNameProperty) != properties + count)
            cleared.push_back(window);
        return S_OK;
    }
    // Other annotations are taken and forgotten.
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return S_OK; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                 AnnoScope) override {
        return S_OK;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return S_OK; }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return S_OK; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                     AnnoScope) override {
        return S_OK;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return S_OK; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return S_OK; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                      AnnoScope) override {
        return S_OK;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return S_OK; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_NOTIMPL;
    }
};

// The pixels of an icon's colour image, with its width.
std::pair<int, std::vector<DWORD>> iconPixels(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(bitmap.bmWidth * bitmap.bmHeight));
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bitmap.bmHeight), pixels.data(), &format,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, pixels};
}

// What a window icon of the given side shows when drawn as it should be
// from the .ico's own images: the smallest image at least that side, in its
// most colours, shrunk if larger; never a smaller one blown up, which blurs.
std::pair<int, std::vector<DWORD>> sharpIconPixels(int side) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC group = FindResourceW(module, L"PARVOLIN", RT_GROUP_ICON);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    // A 6-byte header with the count, then per image 14 bytes: the width
    // (0 for 256), ..., the bits per pixel at 6, the resource id at 12.
    const int count = directory[4] | directory[5] << 8;
    int bestSide = 0, bestBits = 0, bestId = 0;
    for (const BYTE* entry = directory + 6; entry < directory + 6 + 14 * count; entry += 14) {
        const int imageSide = entry[0] == 0 ? 256 : entry[0], bits = entry[6] | entry[7] << 8;
        if (imageSide < side) continue;
        if (bestId == 0 || imageSide < bestSide || (imageSide == bestSide && bits > bestBits))
            std::tie(bestSide, bestBits, bestId) =
                std::tuple{imageSide, bits, entry[12] | entry[13] << 8};
    }
    if (bestId == 0) return {};
    const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(bestId), RT_ICON);
    const win32::UniqueIcon icon(CreateIconFromResourceEx(
        static_cast<BYTE*>(LockResource(LoadResource(module, image))),
        SizeofResource(module, image), TRUE, 0x00030000, side, side, LR_DEFAULTCOLOR));
    return iconPixels(icon.get());
}

class Form1Window : public testing::Test {
protected:
    HWND box(std::string_view name) const { return window_.box(name); }
    // Twips in pixels at the window's DPI: the test runs at 96 and at 144.
    int px(int twips, double scale = 1.0) const {
        return twipsToPixels(twips, static_cast<int>(form_.dpi()), scale);
    }
    void press() { window_.click(kCalculateButton); }

    test::Win32Window window_{form1Design()};
    win32::Form& form_ = window_.form();
    test::RecordingReporter<HWND>& reporter_ = window_.reporter();
};

// A unit box whose text a pick sets shows it plainly, without a highlight,
// while the focus is in the Method box. (Wine's combo box itself selects
// nothing in an unfocused box whose item or text is set, so what this row
// sees under Wine is the window's own handling of the selection.)
TEST_F(Form1Window, UnitBoxesAPickSetsShowNoSelection) {
    // clang-format off
    for (const auto& [name, item, openList] : {std::tuple{"Metric by the arrows", "Metric", false},
                                               {"Imperial by the arrows", "Imperial", false},
                                               {"Metric from the open list", "Metric", true},
                                               {"Imperial from the open list", "Imperial", true}}) {
        // clang-format on
        window_.pick(kMethodBox, item,
                     openList ? test::PickBy::F4ArrowsEnter : test::PickBy::ArrowsOnClosedBox);
        EXPECT_EQ(window_.focused(), kMethodBox) << name;
        for (std::string_view unitBox : {kWeightUnitBox, kHeightUnitBox}) {
            DWORD start = 0, end = 0;
            SendMessageW(window_.editOf(unitBox), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, end) << name << ": " << unitBox << " shows a selection";
        }
    }
}

// The dialog manager's way to move the focus, which Windows may send the
// window for Tab and Shift+Tab: WM_NEXTDLGCTL. Wine's IsDialogMessage moves
// the focus by itself for a window that is not a dialog, so the message is
// sent here as Windows would.
TEST_F(Form1Window, NextControlMessagesMoveTheFocusAsTabAndShiftTabDo) {
    enum Move { Next, Previous, Named };
    struct Row {
        const char* name;
        std::string_view from;
        Move move;
        std::string_view to;  // with its text selected, as after a Tab
    };
    // clang-format off
    for (const Row& row : {Row{"next from Text1", kWeightBox, Next, kHeightBox},
                           Row{"previous from Text1", kWeightBox, Previous, kMethodBox},
                           Row{"next from Combo3", kHeightUnitBox, Next, kCalculateButton},
                           Row{"previous from Command1", kCalculateButton, Previous, kHeightUnitBox},
                           Row{"next from the last wraps", kBmiBox, Next, kMethodBox},
                           Row{"previous from the first wraps", kMethodBox, Previous, kBmiBox},
                           Row{"the named box", kMethodBox, Named, kHeightUnitBox}}) {
        // clang-format on
        SetFocus(box(row.from));
        window_.processPendingMessages();
        const WPARAM wParam =
            row.move == Named ? reinterpret_cast<WPARAM>(box(row.to)) : row.move == Previous;
        SendMessageW(form_.window(), WM_NEXTDLGCTL, wParam, MAKELPARAM(row.move == Named, 0));
        window_.processPendingMessages();
        EXPECT_EQ(window_.focused() + (window_.wholeTextSelected() ? "" : " unselected"), row.to)
            << row.name;
    }
}

TEST_F(Form1Window, HasAFixedFrameOffTheTaskbarCentredWithItsIconAndFont) {
    const HWND window = form_.window();
    EXPECT_EQ(window_.clientSize(),  // 217 x 243 at 96 dpi
              std::pair(px(form1Design().clientWidth), px(form1Design().clientHeight)));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // Off the taskbar through a hidden owner, not as a tool window.
    EXPECT_FALSE(exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW));
    const HWND owner = GetWindow(window, GW_OWNER);
    EXPECT_TRUE(owner != nullptr && !IsWindowVisible(owner));
    std::wstring caption(16, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), 16)));
    EXPECT_EQ(caption, L"Parvolin");

    RECT frame{};
    GetWindowRect(window, &frame);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    // Centred on the work area, which a taskbar leaves (under Wine the test
    // sets one smaller than the screen, on both axes): not on the screen.
    ASSERT_FALSE(monitor.rcWork.left == monitor.rcMonitor.left ||
                 monitor.rcWork.bottom == monitor.rcMonitor.bottom)
        << "the work area is the whole screen: the test cannot tell the two apart";
    EXPECT_LE(std::abs((frame.left + frame.right) - (monitor.rcWork.left + monitor.rcWork.right)),
              2);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)),
              2);

    // The system menu offers only what a fixed window can do (Wine adds its own).
    const HMENU menu = GetSystemMenu(window, FALSE);
    for (UINT command : {SC_MOVE, SC_CLOSE})
        EXPECT_NE(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
    for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
        EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;

    // The caption's and Alt+Tab's icons at the window's DPI (16 and 32 pixels
    // at 96 dpi, 20 and 40 at 120, 24 and 48 at 144), each drawn from an image
    // at least its size: the small drawing, not the large one shrunk.
    for (const auto& [which, metric] :
         {std::pair{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
        const int side = GetSystemMetricsForDpi(metric, form_.dpi());
        EXPECT_EQ(iconPixels(icon), sharpIconPixels(side)) << side << " pixels";
    }
    // The status box always shows its scroll bar.
    SCROLLBARINFO scrollBar{sizeof scrollBar, {}, 0, 0, 0, 0, {}};
    EXPECT_TRUE(GetScrollBarInfo(box(kStatusBox), OBJID_VSCROLL, &scrollBar));
    EXPECT_FALSE(scrollBar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
    // Without a font of its own a control draws in the bold System font.
    for (const ControlDesign& control : form1Design().controls)
        EXPECT_NE(SendMessageW(box(control.name), WM_GETFONT, 0, 0), 0) << control.name;
}

// Moved to a monitor at 150 per cent, the window lays itself out again.
TEST_F(Form1Window, LaysItselfOutAgainWhenTheDpiChanges) {
    const auto fontHeight = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box(kWeightBox), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    const LONG heightAt96 = fontHeight();
    // Windows asks for the size at the new DPI and suggests a rectangle of
    // it, which the window takes in one move.
    SIZE size{};
    ASSERT_TRUE(
        SendMessageW(form_.window(), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    RECT suggested{10, 20, 10 + size.cx, 20 + size.cy};
    SendMessageW(form_.window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    // Only the width: the caption's height is the system's, and here the
    // system itself stays at 96 dpi.
    EXPECT_EQ(window_.clientSize().first, 326);
    const auto [left, top, width, height] = window_.placement(kWeightBox);
    EXPECT_EQ(left, 90);
    EXPECT_EQ(top, 63);
    EXPECT_EQ(width, 105);
    EXPECT_GT(fontHeight(), heightAt96);
    const auto small =
        reinterpret_cast<HICON>(SendMessageW(form_.window(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(iconPixels(small).first, 24);
    RECT frame{};
    GetWindowRect(form_.window(), &frame);
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.top, 20);
    EXPECT_EQ(frame.right - frame.left, size.cx);
    EXPECT_EQ(frame.bottom - frame.top, size.cy);
    for (std::string_view name : {kWeightUnitBox, kHeightUnitBox})
        EXPECT_EQ(window_.placement(name)[3], height) << name;
}

// A box can hold half of a surrogate pair (it can be pasted); it is quoted
// as U+FFFD, and a whole pair beside it stays whole.
TEST_F(Form1Window, ALoneSurrogateIsQuotedAsAReplacementCharacter) {
    struct Row {
        const wchar_t* typed;
        std::string quoted;
    };
    // clang-format off
    for (const Row& row : {Row{L"7\xD800",              "7\xEF\xBF\xBD"},
                           Row{L"\xDC00" L"7",          "\xEF\xBF\xBD" "7"},
                           Row{L"\xD800\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
                           Row{L"\xD83D\xDE00\xDE00", "\xF0\x9F\x98\x80\xEF\xBF\xBD"}}) {
        // clang-format on
        reporter_.messages.clear();
        SendMessageW(box(kWeightBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(row.typed));
        window_.type(kHeightBox, "5.75");
        press();
        EXPECT_EQ(reporter_.messages,
                  std::vector<std::string>{"The weight \"" + row.quoted + "\" is not a number." +
                                           test::kNotANumberHint});
    }
}

TEST_F(Form1Window, TheUnitBoxesAreNamedForScreenReaders) {
    const std::wstring name = accessibleName(box(kWeightUnitBox));
    // Read in-process, where Windows applies the annotation. Wine's oleacc
    // answers IAccPropServices::SetHwndPropStr with E_NOTIMPL, so no name is
    // ever stored there and its combo box client object has none to give.
    if (name.empty() || name == L"Pounds")
        GTEST_SKIP() << "this system stores no accessible-name annotations (Wine: E_NOTIMPL), so "
                        "no screen reader could read the names; the calls that set them are "
                        "checked by TheUnitBoxesGetTheirNamesThroughThePropertyService";
    EXPECT_EQ(name, L"Weight unit");
    EXPECT_EQ(accessibleName(box(kHeightUnitBox)), L"Height unit");
}

// What Wine cannot show above: the window gives the unit boxes their names
// through the accessibility property service, and takes them off before
// the boxes go.
TEST_F(Form1Window, TheUnitBoxesGetTheirNamesThroughThePropertyService) {
    RecordingPropertyService service;
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    DWORD registration = 0;
    ASSERT_EQ(CoRegisterClassObject(kAccPropServicesClass, static_cast<IClassFactory*>(&service),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration),
              S_OK);
    std::vector<HWND> unitBoxes;
    {
        const test::Win32Window window(form1Design());
        unitBoxes = {window.box(kWeightUnitBox), window.box(kHeightUnitBox)};
        EXPECT_EQ(service.names,
                  (std::vector<std::pair<HWND, std::wstring>>{{unitBoxes[0], L"Weight unit"},
                                                              {unitBoxes[1], L"Height unit"}}));
    }
    EXPECT_EQ(service.cleared, unitBoxes);
    CoRevokeClassObject(registration);
    CoUninitialize();
}

TEST_F(Form1Window, ClosingTheWindowEndsTheLoopWithStatusZero) {
    PostMessageW(form_.window(), WM_CLOSE, 0, 0);
    // Should the close not end the loop, 99 ends it after five seconds.
    const UINT_PTR guard =
        SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    EXPECT_EQ(win32::runMessageLoop(form_), 0);
    KillTimer(nullptr, guard);
    EXPECT_EQ(form_.window(), nullptr);
}

// Windows' own conventions and the window procedure's boundary.

// The wheel on the closed Method box steps to the next item and picks it.
TEST_F(Form1Window, TheWheelOnTheClosedMethodBoxPicks) {
    SetFocus(box(kMethodBox));
    for (const auto& [delta, method, units] : {std::tuple{-WHEEL_DELTA, "Metric", "Kg/Meters"},
                                               {WHEEL_DELTA, "Imperial", "Pounds/Feet"}}) {
        SendMessageW(box(kMethodBox), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        window_.processPendingMessages();
        EXPECT_EQ(window_.text(kMethodBox), method);
        EXPECT_EQ(window_.text(kWeightUnitBox) + "/" + window_.text(kHeightUnitBox), units)
            << method;
    }
}

// The arrows move the shown item through the open Method list; left without
// a pick, the list shows the item it opened on again, so that the next
// calculation's formula matches the units shown. (The shared press table
// leaves the list without moving in it, as the Qt window's popup keeps its
// box's item while it is open.)
TEST_F(Form1Window, AListLeftAfterMovingInItShowsTheItemItOpenedOnAgain) {
    struct Row {
        const char* name;
        WPARAM key;
        bool shift;
    };
    window_.type(kWeightBox, "154");
    window_.type(kHeightBox, "69");
    window_.pick(kHeightUnitBox, "Inches", test::PickBy::ArrowsOnClosedBox);
    for (const Row& row : {Row{"Tab", VK_TAB, false}, Row{"Shift+Tab", VK_TAB, true},
                           Row{"Escape", VK_ESCAPE, false}}) {
        SCOPED_TRACE(row.name);
        SetFocus(box(kMethodBox));
        window_.key(VK_F4);
        window_.key(VK_DOWN);
        ASSERT_EQ(window_.text(kMethodBox), "Metric") << "the arrow moves nothing in the open list";
        window_.key(row.key, row.shift);
        EXPECT_EQ(window_.text(kMethodBox), "Imperial");
        EXPECT_EQ(window_.text(kWeightUnitBox) + "/" + window_.text(kHeightUnitBox),
                  "Pounds/Inches");
        window_.click(kCalculateButton);
        EXPECT_EQ(window_.text(kBmiBox),
                  "22" + form_.numberLocale().decimalSeparator + "7393404746902");
    }
}

// The user enlarges the text, whichever setting Windows then names: the
// window takes the new message font and grows with it, every label still
// before its box, staying within the work area from the corner it was moved
// to; and back. A setting that leaves the font lays nothing out again.
TEST_F(Form1Window, FollowsTheMessageFontTheUserSets) {
    NONCLIENTMETRICSW saved{};
    saved.cbSize = sizeof saved;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
    NONCLIENTMETRICSW larger = saved;
    larger.lfMessageFont.lfHeight =
        -MulDiv(12, static_cast<int>(form_.dpi()), 72);  // 4/3 of 9 points
    struct Row {
        const char* name;
        const NONCLIENTMETRICSW* metrics;
        WPARAM setting;
        double scale;
        bool laidOutAgain;
    };
    RECT frame{}, work{};
    GetWindowRect(form_.window(), &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(form_.window(), nullptr, work.right - (frame.right - frame.left),
                 work.bottom - (frame.bottom - frame.top), 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    // clang-format off
    for (const Row& row : {Row{"larger, as non-client metrics", &larger, SPI_SETNONCLIENTMETRICS, 12.0 / 9, true},
                           Row{"back, as no setting in particular", &saved, 0, 1, true},
                           Row{"larger, as the icon font", &larger, SPI_SETICONTITLELOGFONT, 12.0 / 9, true},
                           Row{"the same font", &larger, SPI_SETNONCLIENTMETRICS, 12.0 / 9, false},
                           Row{"back", &saved, SPI_SETNONCLIENTMETRICS, 1, true}}) {
        // clang-format on
        const auto fontBefore = SendMessageW(box(kWeightBox), WM_GETFONT, 0, 0);
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof *row.metrics,
                              const_cast<NONCLIENTMETRICSW*>(row.metrics), 0);
        SendMessageW(form_.window(), WM_SETTINGCHANGE, row.setting, 0);
        GetWindowRect(form_.window(), &frame);
        const FormDesign& design = form1Design();
        EXPECT_EQ(window_.clientSize(),
                  std::pair(px(design.clientWidth, row.scale), px(design.clientHeight, row.scale)))
            << row.name;
        const auto label = window_.placement(kMethodLabel);
        EXPECT_LT(label[0] + label[2], window_.placement(kMethodBox)[0]) << row.name;
        EXPECT_EQ(SendMessageW(box(kWeightBox), WM_GETFONT, 0, 0) != fontBefore, row.laidOutAgain)
            << row.name;
        // Every control draws with the new message font, not only the frame.
        NONCLIENTMETRICSW current{};
        current.cbSize = sizeof current;
        SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof current, &current, 0,
                                   form_.dpi());
        for (const ControlDesign& control : form1Design().controls) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box(control.name), WM_GETFONT, 0, 0)),
                       sizeof font, &font);
            EXPECT_EQ(font.lfHeight, current.lfMessageFont.lfHeight)
                << row.name << ": " << control.name;
            EXPECT_STREQ(font.lfFaceName, current.lfMessageFont.lfFaceName)
                << row.name << ": " << control.name;
        }
        EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                    frame.bottom <= work.bottom)
            << row.name << ": " << frame.left << "," << frame.top << " " << frame.right << ","
            << frame.bottom;
    }
}

TEST_F(Form1Window, AFailureOutsideTheHandlersIsReportedAndTheWindowStaysUsable) {
    reporter_.failNext = true;  // the report of the bad weight fails
    window_.type(kWeightBox, "7o");
    press();
    EXPECT_EQ(reporter_.messages,
              std::vector<std::string>{unexpectedErrorMessage("no memory for the box")});
    const std::string separator = form_.numberLocale().decimalSeparator;
    window_.type(kWeightBox, "154");
    window_.type(kHeightBox, "5" + separator + "75");
    press();
    EXPECT_EQ(window_.text(kBmiBox), "22" + separator + "7393404746902");
}

TEST_F(Form1Window, AWindowThatCannotBeBuiltLeavesNothingBehind) {
    const std::array<ControlDesign, 1> odd{
        {{"Odd1", static_cast<ControlKind>(99), {0, 0, 150, 150}, 0, ""}}};
    const FormDesign design{"Broken", "Broken", 1500, 1500, odd, nullptr, {}, {}};
    EXPECT_THROW(win32::Form(design, reporter_), std::invalid_argument);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop would end";
    EXPECT_EQ(FindWindowW(L"ParvolinForm", L"Broken"), nullptr);
}

// Refuses the program's window, as a system out of window handles would.
LRESULT CALLBACK refuseTheWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* created = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (code == HCBT_CREATEWND && !IS_INTRESOURCE(created->lpcs->lpszClass) &&
        std::wstring_view(created->lpcs->lpszClass) == L"ParvolinForm")
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Reads the texts of the message box the program shows, then presses OK; a
// window that opened after all is closed with 99 after five seconds.
std::wstring g_messageBoxTexts;
void CALLBACK readAndCloseTheMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    static int ticks = 0;
    if (++ticks == 100) PostQuitMessage(99);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t className[8] = {};
            GetClassNameW(window, className, 8);
            if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            EnumChildWindows(
                window,
                [](HWND child, LPARAM) -> BOOL {
                    wchar_t text[512] = {};
                    GetWindowTextW(child, text, 512);
                    g_messageBoxTexts += std::wstring(text) + L"|";
                    return TRUE;
                },
                0);
            PostMessageW(window, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
}

// The real message box, closed with OK: the focus goes straight back to the
// box at fault. The button, which had the focus, does not get it back on the
// way: a screen reader would announce it first.
TEST(RealMessageBox, TheFocusGoesStraightBackToTheBoxAtFault) {
    win32::MessageBoxReporter messageBoxes;
    test::Win32Window window(form1Design(), &messageBoxes);
    const HWND weight = window.box(kWeightBox), button = window.box(kCalculateButton);
    SetWindowTextW(weight, L"abc");
    SetFocus(button);
    const test::MessageRecorder focused({weight, button}, WM_SETFOCUS);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, readAndCloseTheMessageBox);
    SendMessageW(button, BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    window.processPendingMessages();
    ASSERT_EQ(focused.seen.size(), 1u);
    EXPECT_EQ(focused.seen[0].first, weight);
    EXPECT_EQ(GetFocus(), weight);
}

TEST(Program, SaysWhyAndEndsWithStatusOneWhenItsWindowCannotBeCreated) {
    const HHOOK hook = SetWindowsHookExW(WH_CBT, refuseTheWindow, nullptr, GetCurrentThreadId());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, readAndCloseTheMessageBox);
    const int status = runApplication(0, nullptr, projectRecord());
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(status, 1);
    EXPECT_NE(g_messageBoxTexts.find(L"Something went wrong: "), std::wstring::npos)
        << win32::toUtf8(g_messageBoxTexts);
}

}  // namespace

// No test may hang: one still running after 20 s ends the run, naming itself
// and the windows shown (a message box nobody answers, say). Plain static
// state, which the watching thread may read to the very end.
std::atomic<unsigned long long> g_testStarted{0};
char g_testName[256];

BOOL CALLBACK describeWindow(HWND window, LPARAM) {
    wchar_t className[64] = {}, text[512] = {};
    GetClassNameW(window, className, 64);
    InternalGetWindowText(window, text, 512);
    std::fprintf(stderr, "  %ls \"%ls\"\n", className, text);
    return TRUE;
}

struct Watchdog final : testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override {
        std::snprintf(g_testName, sizeof g_testName, "%s.%s", test.test_suite_name(), test.name());
        g_testStarted = GetTickCount64();
    }
    void OnTestEnd(const testing::TestInfo&) override { g_testStarted = 0; }
    static void watch() {
        for (unsigned long long started;
             (started = g_testStarted) == 0 || GetTickCount64() - started < 20000;)
            Sleep(200);
        std::fprintf(stderr, "%s still runs after 20 s; the windows shown:\n", g_testName);
        EnumWindows(
            [](HWND window, LPARAM) -> BOOL {
                if (IsWindowVisible(window) && describeWindow(window, 0))
                    EnumChildWindows(window, describeWindow, 0);
                return TRUE;
            },
            0);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 2);
    }
};

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    std::thread(Watchdog::watch).detach();
    return RUN_ALL_TESTS();
}
