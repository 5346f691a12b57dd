#include "runtime/forms/win32/form.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include "runtime/forms/win32/text.h"

namespace parvolin::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"ParvolinForm";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// Control ids start well clear of IDOK and IDCANCEL, which IsDialogMessage sends.
constexpr int kFirstControlId = 100;
// Posted once the window is shown: name the boxes for screen readers.
constexpr UINT kNameControls = WM_APP + 1;
// How many items a drop-down list shows before it scrolls.
constexpr int kVisibleListItems = 8;

struct ClientDc {
    HWND window;
    HDC dc = GetDC(window);
    ~ClientDc() { ReleaseDC(window, dc); }
};

// A multi-line edit wants every key, Tab and Escape included; in this window
// Tab moves on and Escape does nothing, as everywhere else. (Inside a
// dialog, the edit itself would close the window on Escape.)
LRESULT CALLBACK multiLineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam != 0) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && (key->wParam == VK_TAB || key->wParam == VK_ESCAPE))
            result &= ~DLGC_WANTALLKEYS;
    }
    return result;
}

void registerWindowClass() {
    static const bool registered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window in Form::Form
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // The dialog colour, on which the labels are drawn.
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("cannot register the window class");
}

// A combo box selects its whole edit text when the text is set; in a box
// without the focus that shows as a highlight the user did not make.
void unselectEditText(HWND combo) { SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0)); }

HWND createChild(HWND parent, const ControlDesign& design, int id) {
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (design.kind) {
    case ControlKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case ControlKind::DropDownCombo:
        windowClass = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::MultiLineTextBox:
        windowClass = L"EDIT";
        // No horizontal scrolling: the text wraps at word boundaries.
        style |= WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::PushButton:
        windowClass = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    }
    HWND control = CreateWindowExW(exStyle, windowClass, toUtf16(design.text).c_str(), style, 0, 0, 0,
                                   0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr)
        throw std::runtime_error("cannot create " + std::string(design.name));
    if (design.kind == ControlKind::MultiLineTextBox)
        SetWindowSubclass(control, multiLineProc, 1, 0);
    for (std::string_view item : design.items)
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toUtf16(item).c_str()));
    if (design.kind == ControlKind::DropDownCombo) {
        // The list's selection follows the shown text, so that the arrow keys
        // step on from the item shown.
        const std::wstring text = toUtf16(design.text);
        const auto index = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
        if (index != CB_ERR) SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetWindowTextW(control, text.c_str());
        unselectEditText(control);
    }
    return control;
}

// The system's message font at `dpi`: without it Windows draws the controls
// in the bold System font.
UniqueFont messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return UniqueFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // deleting it does nothing
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE captionSize(HWND label, HFONT font) {
    const int length = GetWindowTextLengthW(label);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, caption.data(), length + 1);
    const ClientDc client{label};
    const HGDIOBJ previous = SelectObject(client.dc, font);
    RECT extent{};
    DrawTextW(client.dc, caption.c_str(), length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(client.dc, previous);
    return {extent.right - extent.left, extent.bottom - extent.top};
}

bool isTextBox(ControlKind kind) {
    return kind == ControlKind::DropDownCombo || kind == ControlKind::TextBox ||
           kind == ControlKind::MultiLineTextBox;
}

}  // namespace

void MessageBoxReporter::report(HWND window, const std::wstring& message) {
    const int length = window ? GetWindowTextLengthW(window) : 0;
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    if (window) GetWindowTextW(window, title.data(), length + 1);
    title.resize(static_cast<std::size_t>(length));
    MessageBoxW(window, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

Form::Form(const FormDesign& design, ErrorReporter& reporter, std::wstring iconName)
    : design_(design), reporter_(reporter), iconName_(std::move(iconName)) {
    registerWindowClass();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    owner_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                 nullptr));
    window_ = CreateWindowExW(kWindowExStyle, kWindowClass, toUtf16(design.caption).c_str(),
                              kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, owner_.get(), nullptr,
                              instance, nullptr);
    if (owner_ == nullptr || window_ == nullptr) throw std::runtime_error("cannot create the window");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::windowProc));
    createControls();
    layOut(dpi());
    setIcons(dpi());
}

Form::~Form() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

// Created in the design's order: the tab order is the creation order, and a
// screen reader names a box by the label created just before it.
void Form::createControls() {
    int id = kFirstControlId;
    for (const ControlDesign& design : design_.controls)
        controls_.push_back({&design, createChild(window_, design, id++)});
}

UINT Form::dpi() const { return window_ ? GetDpiForWindow(window_) : USER_DEFAULT_SCREEN_DPI; }

// Twips become pixels at the window's DPI; a label takes its caption's size.
void Form::layOut(UINT dpi) {
    // The old font is deleted only once no control uses it any more.
    UniqueFont font = messageFont(dpi);
    const auto px = [dpi](int twips) { return twipsToPixels(twips, static_cast<int>(dpi)); };
    for (const Control& control : controls_) {
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        const TwipRect& place = control.design->place;
        int width = px(place.width), height = px(place.height);
        if (control.design->kind == ControlKind::Label) {
            const SIZE size = captionSize(control.window, font.get());
            width = size.cx;
            height = size.cy;
        } else if (control.design->kind == ControlKind::DropDownCombo) {
            // A combo box's height includes its drop-down list.
            height += kVisibleListItems * static_cast<int>(SendMessageW(control.window, CB_GETITEMHEIGHT, 0, 0));
        }
        SetWindowPos(control.window, nullptr, px(place.left), px(place.top), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    font_ = std::move(font);
    RECT frame{0, 0, px(design_.clientWidth), px(design_.clientHeight)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(window_, nullptr, TRUE);
}

void Form::setIcons(UINT dpi) {
    if (iconName_.empty()) return;
    const auto load = [&](int width, int height) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), iconName_.c_str(), IMAGE_ICON,
                                             GetSystemMetricsForDpi(width, dpi),
                                             GetSystemMetricsForDpi(height, dpi), 0));
    };
    // The new icons are in place before the old ones are destroyed.
    UniqueIcon big(load(SM_CXICON, SM_CYICON)), small(load(SM_CXSMICON, SM_CYSMICON));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

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

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

LRESULT Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focused = GetFocus(); focused != nullptr && IsChild(window_, focused))
                focus_ = focused;
        } else if (focus_ != nullptr) {
            SetFocus(focus_);
        }
        return 0;
    case WM_DPICHANGED: {
        const UINT newDpi = HIWORD(wParam);
        layOut(newDpi);
        setIcons(newDpi);
        // Where Windows suggests; the size is layOut's, worked out from the
        // client area in twips, which keeps it exact at every DPI.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
        return 0;
    }
    case kNameControls:
        nameUnlabelledBoxes();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND window = window_;
        window_ = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// IDOK and IDCANCEL come from IsDialogMessage for Enter and Escape. Neither
// presses anything, except that Enter presses the push button that has the
// focus, as Windows buttons do.
void Form::onCommand(WORD id, WORD code) {
    const ControlDesign* source = nullptr;
    if (id == IDOK) {
        for (const Control& control : controls_)
            if (control.window == GetFocus() && control.design->kind == ControlKind::PushButton)
                source = control.design;
        code = BN_CLICKED;
    } else if (id >= kFirstControlId && id < kFirstControlId + static_cast<int>(controls_.size())) {
        source = controls_[static_cast<std::size_t>(id - kFirstControlId)].design;
    }
    if (source == nullptr) return;
    // A combo box's edit field keeps its selection when the focus leaves it
    // (Wine then still draws it highlighted); Tab selects it all again anyway.
    if (source->kind == ControlKind::DropDownCombo && code == CBN_KILLFOCUS)
        unselectEditText(control(source->name));
    for (const EventBinding& binding : design_.events) {
        if (binding.control != source->name) continue;
        if (binding.event == ControlEvent::Press && code == BN_CLICKED) run(binding.handler);
        if (binding.event == ControlEvent::Pick && code == CBN_SELCHANGE) {
            // The edit field takes the picked item only after this
            // notification; the handler reads the pick, so it goes in first.
            const HWND box = control(source->name);
            const auto index = SendMessageW(box, CB_GETCURSEL, 0, 0);
            if (index == CB_ERR) continue;
            std::wstring item(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
            SendMessageW(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
            SetWindowTextW(box, item.c_str());
            run(binding.handler);
        }
    }
}

void Form::run(Handler handler) {
    const auto failure = runHandler(handler, *this, design_);
    if (!failure || failure->message.empty()) return;
    try {
        reporter_.report(window_, toUtf16(failure->message));
        focusForCorrection(failure->correctionBox);
    } catch (...) {
        // Reporting failed too (out of memory, say): the handler has ended and
        // the window stays usable, which is all that is left to keep.
    }
}

// The box the message named gets the focus with its text selected, so that
// typing replaces it.
void Form::focusForCorrection(std::string_view name) {
    if (name.empty() || window_ == nullptr) return;
    const Control& box = find(name);
    focus_ = box.window;
    SetFocus(box.window);
    if (box.design->kind == ControlKind::DropDownCombo)
        SendMessageW(box.window, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else if (isTextBox(box.design->kind))
        SendMessageW(box.window, EM_SETSEL, 0, -1);
}

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
    if (!isTextBox(box.design->kind)) throw std::invalid_argument(std::string(name) + " has no text to read");
    const int length = GetWindowTextLengthW(box.window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box.window, text.data(), length + 1)));
    return toUtf8(text);
}

void Form::setText(std::string_view name, std::string_view text) {
    const Control& box = find(name);
    if (!isTextBox(box.design->kind)) throw std::invalid_argument(std::string(name) + " has no text to set");
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
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, LOCALE_NAME_MAX_LENGTH) <= 1)
        return NumberLocale{};
    return NumberLocale{toUtf8(separator)};
}

void processPendingMessages(const Form& form) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the loop
            return;
        }
        if (form.window() != nullptr && IsDialogMessageW(form.window(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int runMessageLoop(const Form& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.window() != nullptr && IsDialogMessageW(form.window(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace parvolin::win32
