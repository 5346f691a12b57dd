#include "runtime/forms/win32/form.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "runtime/error_message.h"
#include "runtime/forms/win32/controls.h"
#include "runtime/forms/win32/layout.h"
#include "runtime/forms/win32/text.h"
#include "runtime/forms/win32/window_class.h"

namespace parvolin::win32 {
namespace {

// Posted once the window is shown: name the boxes for screen readers.
constexpr UINT kNameControls = WM_APP + 1;
// Posted by the first announcement of a gesture: make the last one.
constexpr UINT kAnnounce = WM_APP + 2;
// Posted after an error message: the focus goes back where it was, unless a
// box to correct has it by then.
constexpr UINT kFocusAfterError = WM_APP + 3;

// An icon of `side` pixels from the .ico resource `name`: with common
// controls 6, the smallest image at least that size, shrunk
// (LoadIconWithScaleDown); LoadImage, the fallback, takes the nearest size,
// which may be a smaller image blown up. MinGW-w64's import library lacks
// the function, hence the look-up in comctl32, which the program imports.
HICON loadIconShrunk(HINSTANCE module, const wchar_t* name, int side) {
    using LoadShrunk = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const auto loadShrunk = reinterpret_cast<LoadShrunk>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (loadShrunk != nullptr && SUCCEEDED(loadShrunk(module, name, side, side, &icon)))
        return icon;
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, side, side, 0));
}

// How many items a drop-down list shows before it scrolls.
constexpr int kVisibleListItems = 8;

}  // namespace

// Making and ending the window.

Form::Form(const FormDesign& design, ErrorReporter& reporter, std::wstring iconName,
           Announcer& announcer)
    : design_(design), reporter_(reporter), announcer_(announcer), iconName_(std::move(iconName)) {
    registerWindowClass(&Form::windowProc);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance, nullptr));
    if (owner_ == nullptr) throw std::runtime_error("cannot create the window");
    // The window procedure takes `this` from WM_NCCREATE on, so that no
    // message of the window's goes past it.
    CreateWindowExW(kWindowExStyle, kWindowClass, toUtf16(design.caption).c_str(), kWindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner_.get(), nullptr, instance, this);
    if (window_ == nullptr) throw std::runtime_error("cannot create the window");
    try {
        trimSystemMenu(window_);
        createControls();
        layOut(dpi());
        fitFrame();
        setIcons(dpi());
    } catch (...) {
        // No destructor runs for a half-built Form: the window goes now,
        // before the members it would reach.
        detach();
        throw;
    }
}

Form::~Form() { detach(); }

// The window is destroyed without reaching this Form (and without ending the
// message loop, as a window the user closes does).
void Form::detach() noexcept {
    if (window_ == nullptr) return;
    const HWND window = std::exchange(window_, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    names_.clear();
    DestroyWindow(window);
}

// Created in the design's order: the tab order is the creation order, and a
// screen reader names a box by the label created just before it.
void Form::createControls() {
    int id = kFirstControlId;
    for (const ControlDesign& design : design_.controls)
        controls_.push_back({&design, createControl(window_, design, id++)});
}

// The load handler fills the window before anyone sees it: it announces nothing.
void Form::load() { runHandlerReportingFailure(design_.load, *this, *this, design_); }

void Form::show() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const RECT work = workAreaOf(window_);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    focus_.focusFirst(window_);
    PostMessageW(window_, kNameControls, 0, 0);
}

UINT Form::dpi() const { return window_ ? GetDpiForWindow(window_) : USER_DEFAULT_SCREEN_DPI; }

// The window procedure.

// The boundary between Windows' code and the program's: no exception may
// unwind through user32's frames. Whatever escapes handling a message is
// reported like a failed handler, and the window stays usable.
LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Form*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return form->handle(message, wParam, lParam);
    } catch (const std::exception& error) {
        form->reportFailure(error.what());
    } catch (...) {
        form->reportFailure("unknown error");
    }
    return 0;
}

void Form::reportFailure(std::string_view detail) noexcept {
    try {
        reporter_.report(window_, unexpectedErrorMessage(detail));
    } catch (...) {
        // Reporting failed too (out of memory, say): what the user was doing
        // has ended and the window stays usable, which is all that is left.
    }
}

LRESULT Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return onNcCreate(wParam, lParam);
    case WM_COMMAND: return onCommand(wParam);
    case WM_ACTIVATE: return onActivate(wParam);
    case WM_NEXTDLGCTL: return onNextDialogControl(wParam, lParam);
    case WM_GETDPISCALEDSIZE: return onGetDpiScaledSize(wParam, lParam);
    case WM_DPICHANGED: return onDpiChanged(wParam, lParam);
    case WM_SETTINGCHANGE: return onSettingChange();
    case kNameControls: return onNameControls();
    case kAnnounce: return onAnnounce();
    case kFocusAfterError: return onFocusAfterError();
    case WM_DESTROY: return onDestroy();
    case WM_NCDESTROY: return onNcDestroy(wParam, lParam);
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// Windows 10 1607 does not know the manifest's per-monitor awareness version
// 2 and falls back to version 1, under which Windows scales a window's
// caption and frame for its monitor only when asked, here.
LRESULT Form::onNcCreate(WPARAM wParam, LPARAM lParam) {
    if (AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(),
                                     DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
        EnableNonClientDpiScaling(window_);
    return DefWindowProcW(window_, WM_NCCREATE, wParam, lParam);
}

// IDOK and IDCANCEL come from IsDialogMessage for Enter and Escape. Neither
// presses anything, except that Enter presses the push button that has the
// focus, as Windows buttons do.
LRESULT Form::onCommand(WPARAM wParam) {
    const WORD id = LOWORD(wParam);
    const WORD code = id == IDOK ? WORD{BN_CLICKED} : HIWORD(wParam);
    const Control* source = commandSource(id);
    if (source == nullptr) return 0;
    if (source->design->kind == ControlKind::DropDownCombo) onComboNotification(*source, code);
    for (const EventBinding& binding : design_.events) {
        if (binding.control != source->design->name) continue;
        if (binding.event == ControlEvent::Press && code == BN_CLICKED) run(binding.handler);
        if (binding.event == ControlEvent::Pick && isPick(*source, code))
            pick(*source, binding.handler);
    }
    return 0;
}

// Besides the focus, a list left without a pick (CBN_SELENDCANCEL) shows
// again the item it opened on: the arrows move the shown text through the
// open list, and a Method box left showing an item nobody picked would have
// the next calculation use its formula with the other system's units.
void Form::onComboNotification(const Control& box, WORD code) {
    switch (code) {
    case CBN_SETFOCUS: focus_.comboFocused(box.window); break;
    case CBN_KILLFOCUS: DialogFocus::comboUnfocused(box.window); break;
    case CBN_DROPDOWN:
        openList_ = {box.window, windowText(box.window),
                     SendMessageW(box.window, CB_GETCURSEL, 0, 0)};
        break;
    case CBN_SELENDCANCEL: showItemTheListOpenedOn(box); break;
    case CBN_CLOSEUP: openList_ = {}; break;
    default: break;
    }
}

void Form::showItemTheListOpenedOn(const Control& box) {
    if (openList_.box != box.window) return;
    SendMessageW(box.window, CB_SETCURSEL, static_cast<WPARAM>(openList_.item), 0);
    SetWindowTextW(box.window, openList_.text.c_str());
    if (GetFocus() != box.window && !IsChild(box.window, GetFocus())) unselectEditText(box.window);
}

LRESULT Form::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE)
        focus_.remember(window_);
    else if (!showingError_)
        focus_.restore();
    return 0;
}

// The next or previous control, or the one named, gets the focus with its
// text selected.
LRESULT Form::onNextDialogControl(WPARAM wParam, LPARAM lParam) {
    const HWND next = DialogFocus::nextControl(window_, wParam, LOWORD(lParam) != 0);
    for (const Control& control : controls_)
        if (control.window == next) focusWithTextSelected(control);
    return 0;
}

// The size at the new DPI, so that the rectangle Windows then suggests is
// exactly the window's and never flips between two sizes.
LRESULT Form::onGetDpiScaledSize(WPARAM wParam, LPARAM lParam) {
    *reinterpret_cast<SIZE*>(lParam) = outerSizeAt(static_cast<UINT>(wParam));
    return TRUE;
}

LRESULT Form::onDpiChanged(WPARAM wParam, LPARAM lParam) {
    const UINT newDpi = HIWORD(wParam);
    layOut(newDpi);
    setIcons(newDpi);
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// The user may have changed the text size or the message font: which
// setting Windows names for "Make text bigger" is not documented, so the
// font is read again after any, and the window laid out again only when it
// changed.
LRESULT Form::onSettingChange() {
    if (isMessageFont(font_.get(), dpi())) return 0;
    layOut(dpi());
    fitFrame();
    return 0;
}

LRESULT Form::onNameControls() {
    for (const Control& control : controls_)
        if (!control.design->accessibleName.empty())
            names_.name(control.window, toUtf16(control.design->accessibleName));
    return 0;
}

LRESULT Form::onDestroy() {  // the controls are still there
    names_.clear();
    PostQuitMessage(0);
    return 0;
}

LRESULT Form::onNcDestroy(WPARAM wParam, LPARAM lParam) {
    const HWND window = std::exchange(window_, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

// Layout, DPI and icons.

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

// The window's outer size at `dpi`, for the message font at that DPI.
SIZE Form::outerSizeAt(UINT dpi) const {
    return windowSizeForClient(design_.clientWidth, design_.clientHeight, dpi,
                               messageFontScale(dpi));
}

// The window takes the size its font asks for; grown, it moves as far as it
// must to stay within its monitor's work area, its caption first.
void Form::fitFrame() {
    const SIZE size = outerSizeAt(dpi());
    RECT frame{};
    GetWindowRect(window_, &frame);
    const RECT work = workAreaOf(window_);
    const LONG left = std::max(work.left, std::min(frame.left, work.right - size.cx));
    const LONG top = std::max(work.top, std::min(frame.top, work.bottom - size.cy));
    SetWindowPos(window_, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The caption's and the task switcher's icons, drawn for the window's DPI
// from the executable's .ico, so that neither is a scaled-up small image.
void Form::setIcons(UINT dpi) {
    if (iconName_.empty()) return;
    const auto load = [&](int metric) {
        const int side = GetSystemMetricsForDpi(metric, dpi);
        return loadIconShrunk(GetModuleHandleW(nullptr), iconName_.c_str(), side);
    };
    // The new icons are in place before the old ones are destroyed.
    UniqueIcon big(load(SM_CXICON)), small(load(SM_CXSMICON));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// Commands and handlers.

// The control a command comes from: for IDOK (Enter), the push button that
// has the focus; null for any other command.
const Form::Control* Form::commandSource(WORD id) const {
    if (id == IDOK) {
        for (const Control& control : controls_)
            if (control.window == GetFocus() && control.design->kind == ControlKind::PushButton)
                return &control;
        return nullptr;
    }
    if (id < kFirstControlId || id >= kFirstControlId + static_cast<int>(controls_.size()))
        return nullptr;
    return &controls_[static_cast<std::size_t>(id - kFirstControlId)];
}

// A pick: the open list closing on an item in what Windows reports as a
// selection (CBN_SELENDOK: Enter, a click on an item, F4, Alt+Up; it comes
// without CBN_SELCHANGE when the list opened on the typed text), or the
// closed box stepping to another item (CBN_SELCHANGE: the arrow keys, the
// wheel). A list left any other way (Escape, Tab, Shift+Tab, a click
// elsewhere, another window) ends in CBN_SELENDCANCEL and picks nothing:
// it shows again the item it opened on, and moving through the open list
// picks nothing either.
// Wine reports F4's and Alt+Up's close as a cancel: there they pick nothing
// and show the item the list opened on.
bool Form::isPick(const Control& source, WORD code) const {
    if (source.design->kind != ControlKind::DropDownCombo) return false;
    if (code == CBN_SELENDOK) return true;
    return code == CBN_SELCHANGE && !SendMessageW(source.window, CB_GETDROPPEDSTATE, 0, 0);
}

// The edit field takes the picked item only after the notification; the
// handler reads the pick, so it goes in first.
void Form::pick(const Control& box, Handler handler) {
    const auto index = SendMessageW(box.window, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    SetWindowTextW(box.window, listItem(box.window, index).c_str());
    run(handler);
}

// If even the report fails, the window procedure's boundary catches that.
void Form::run(Handler handler) { runEventHandler(handler, *this, *this, *this, design_); }

// One gesture can run a handler more than once (a pick from the list is
// notified as a selection change, then as its end): what it announces is
// gathered and announced once, after the gesture, the last sentence winning.
void Form::announce(std::string_view sentence) {
    if (window_ == nullptr) return;
    const bool posted = !announcement_.empty();
    announcement_ = toUtf16(sentence);
    if (!posted && !PostMessageW(window_, kAnnounce, 0, 0)) announcement_.clear();
}

LRESULT Form::onAnnounce() {
    announcer_.announce(window_, std::exchange(announcement_, {}));
    return 0;
}

// The message box closing activates the window again. The control that had
// the focus (Calculate!) does not get it back then: the next step gives it to
// the box to correct, and a screen reader would announce the button first.
// Where there is no box to correct, the focus goes back once this is done.
void Form::showError(std::string_view message) {
    showingError_ = true;
    try {
        reporter_.report(window_, message);
    } catch (...) {
        showingError_ = false;
        throw;
    }
    showingError_ = false;
    if (window_ != nullptr) PostMessageW(window_, kFocusAfterError, 0, 0);
}

LRESULT Form::onFocusAfterError() {
    if (const HWND focused = GetFocus(); focused == nullptr || !IsChild(window_, focused))
        if (GetActiveWindow() == window_) focus_.restore();
    return 0;
}

void Form::focusWithTextSelected(std::string_view name) {
    if (window_ == nullptr) return;
    focusWithTextSelected(find(name));
}

void Form::focusWithTextSelected(const Control& control) {
    focus_.focusWithTextSelected(control.window, control.design->kind);
}

// The control operations the handlers call.

const Form::Control& Form::find(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.design->name == name) return control;
    throw std::out_of_range("no control named " + std::string(name));
}

const Form::Control& Form::findList(std::string_view name) const {
    const Control& box = find(name);
    if (box.design->kind != ControlKind::DropDownCombo)
        throw std::invalid_argument(std::string(name) + " has no list");
    return box;
}

HWND Form::control(std::string_view name) const { return find(name).window; }

std::string Form::text(std::string_view name) const {
    const Control& box = find(name);
    if (!isTextBox(box.design->kind))
        throw std::invalid_argument(std::string(name) + " has no text to read");
    return toUtf8(windowText(box.window));
}

void Form::setText(std::string_view name, std::string_view text) {
    const Control& box = find(name);
    if (!isTextBox(box.design->kind))
        throw std::invalid_argument(std::string(name) + " has no text to set");
    if (!SetWindowTextW(box.window, toUtf16(text).c_str()))
        throw std::runtime_error("cannot set the text of " + std::string(name));
    if (box.design->kind == ControlKind::DropDownCombo && GetFocus() != box.window &&
        !IsChild(box.window, GetFocus()))
        unselectEditText(box.window);
}

void Form::setListItem(std::string_view name, int index, std::string_view text) {
    const HWND box = findList(name).window;
    const auto count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    if (index < 0 || index > count)
        throw std::out_of_range("list index " + std::to_string(index) + " is out of range");
    if (index < count) SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    const std::wstring item = toUtf16(text);
    const auto result = SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(item.c_str()));
    if (result == CB_ERR || result == CB_ERRSPACE)
        throw std::runtime_error("cannot set an item of " + std::string(name));
    // The first item of an empty list becomes the selection, as it does in
    // Qt: the arrow keys then step on from it.
    if (count == 0) SendMessageW(box, CB_SETCURSEL, 0, 0);
}

void Form::clearList(std::string_view name) {
    SendMessageW(findList(name).window, CB_RESETCONTENT, 0, 0);
}

NumberLocale Form::numberLocale() const {
    wchar_t separator[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                        LOCALE_NAME_MAX_LENGTH) <= 1)
        return NumberLocale{};
    return NumberLocale{toUtf8(separator)};
}

}  // namespace parvolin::win32
