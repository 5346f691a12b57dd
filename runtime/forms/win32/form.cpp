#include "runtime/forms/win32/form.h"

#include <exception>
#include <stdexcept>
#include <utility>

#include "runtime/error_message.h"
#include "runtime/forms/win32/controls.h"
#include "runtime/forms/win32/text.h"
#include "runtime/forms/win32/window_class.h"

namespace parvolin::win32 {
namespace {

// Posted once the window is shown: name the boxes for screen readers.
constexpr UINT kNameControls = WM_APP + 1;

}  // namespace

Form::Form(const FormDesign& design, ErrorReporter& reporter, std::wstring iconName)
    : design_(design), reporter_(reporter), iconName_(std::move(iconName)) {
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

UINT Form::dpi() const { return window_ ? GetDpiForWindow(window_) : USER_DEFAULT_SCREEN_DPI; }

void Form::nameUnlabelledBoxes() {
    for (const Control& control : controls_)
        if (!control.design->accessibleName.empty())
            names_.name(control.window, toUtf16(control.design->accessibleName));
}

void Form::load() { run(design_.load); }

void Form::show() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    GetWindowRect(window_, &frame);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    focus_ = GetNextDlgTabItem(window_, nullptr, FALSE);
    SetFocus(focus_);
    PostMessageW(window_, kNameControls, 0, 0);
}

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
        reporter_.report(window_, toUtf16(unexpectedErrorMessage(detail)));
    } catch (...) {
        // Reporting failed too (out of memory, say): what the user was doing
        // has ended and the window stays usable, which is all that is left.
    }
}

LRESULT Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            rememberFocus();
        else
            restoreFocus();
        return 0;
    case WM_NEXTDLGCTL: moveFocus(wParam, LOWORD(lParam) != 0); return 0;
    case WM_GETDPISCALEDSIZE:
        // The size at the new DPI, so that the rectangle Windows then suggests
        // is exactly the window's and never flips between two sizes.
        *reinterpret_cast<SIZE*>(lParam) = frameSize(static_cast<UINT>(wParam));
        return TRUE;
    case WM_DPICHANGED: {
        const UINT newDpi = HIWORD(wParam);
        layOut(newDpi);
        setIcons(newDpi);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SETTINGCHANGE:
        // The user changed the text size or the message font.
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            layOut(dpi());
            fitFrame();
        }
        return 0;
    case kNameControls: nameUnlabelledBoxes(); return 0;
    case WM_DESTROY:  // the controls are still there
        names_.clear();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        const HWND window = std::exchange(window_, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace parvolin::win32
