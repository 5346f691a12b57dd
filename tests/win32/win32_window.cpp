#include "win32_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "runtime/forms/win32/message_loop.h"
#include "runtime/forms/win32/text.h"
#include "ui/form1.h"

namespace parvolin::test {
namespace {

// The calls the window made to UI Automation's notification, each as
// "polite: SENTENCE" for the polite processing (all, or the most recent),
// "assertive: ..." for the important ones.
std::vector<std::string>& notifications() {
    static std::vector<std::string> calls;
    return calls;
}

HRESULT WINAPI hostProvider(HWND, IRawElementProviderSimple** provider) {
    *provider = nullptr;
    return S_OK;
}

// UI Automation's NotificationKind_ActionCompleted and NotificationProcessing_All.
constexpr int kActionCompleted = 2, kProcessingAll = 2;

HRESULT WINAPI raiseNotification(IRawElementProviderSimple*, int kind, int processing, BSTR text,
                                 BSTR activity) {
    const std::string politeness = processing >= kProcessingAll ? "polite: " : "assertive: ";
    notifications().push_back(politeness + win32::toUtf8(text) +
                              (kind == kActionCompleted ? "" : " (not an action completed)") +
                              (activity != nullptr && *activity != 0 ? "" : " (no activity)"));
    return S_OK;
}

}  // namespace

MessageRecorder::MessageRecorder(std::vector<HWND> windows, UINT message)
    : windows_(std::move(windows)), message_(message) {
    for (HWND window : windows_)
        SetWindowSubclass(window, record, reinterpret_cast<UINT_PTR>(this),
                          reinterpret_cast<DWORD_PTR>(this));
}

MessageRecorder::~MessageRecorder() {
    for (HWND window : windows_)
        RemoveWindowSubclass(window, record, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageRecorder::record(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    auto* recorder = reinterpret_cast<MessageRecorder*>(self);
    if (message == recorder->message_) recorder->seen.emplace_back(window, wParam);
    return DefSubclassProc(window, message, wParam, lParam);
}

Win32Window::Win32Window(const FormDesign& design, win32::ErrorReporter* shown)
    : design_(design),
      announcer_(hostProvider, raiseNotification),
      form_(design, shown ? *shown : reporter_, L"parvolin", announcer_) {
    notifications().clear();
    form_.load();
    form_.show();
    processPendingMessages();
}

void Win32Window::processPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the loop
            return;
        }
        win32::dispatchMessage(form_, message);
    }
}

void Win32Window::key(WPARAM virtualKey, bool shift, bool alt, bool extended) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    // With Alt held a key comes as a system key, its context bit set; the
    // keypad's Enter is the extended one.
    const LPARAM flags = (alt ? 1 << 29 : 0) | (extended ? 1 << 24 : 0);
    // The key is down while its press is handled, as with a real keyboard.
    state[virtualKey] = 0x80;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | flags);
    processPendingMessages();
    state[virtualKey] = 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | flags | (3u << 30));
    processPendingMessages();
    state[VK_SHIFT] = state[VK_MENU] = 0;
    SetKeyboardState(state);
}

void Win32Window::key(Key key) {
    switch (key) {
    case Key::Tab: return this->key(VK_TAB);
    case Key::ShiftTab: return this->key(VK_TAB, true);
    case Key::Enter: return this->key(VK_RETURN);
    case Key::KeypadEnter: return this->key(VK_RETURN, false, false, true);
    case Key::Escape: return this->key(VK_ESCAPE);
    case Key::Space: return this->key(VK_SPACE);
    case Key::F4: return this->key(VK_F4);
    case Key::Up: return this->key(VK_UP);
    case Key::Down: return this->key(VK_DOWN);
    case Key::Left: return this->key(VK_LEFT);
    case Key::Right: return this->key(VK_RIGHT);
    }
}

void Win32Window::focus(std::string_view control) {
    SetFocus(box(control));
    processPendingMessages();
}

HWND Win32Window::editOf(std::string_view name) const {
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    return GetComboBoxInfo(box(name), &combo) ? combo.hwndItem : box(name);
}

void Win32Window::selectAll(std::string_view name) {
    SetFocus(box(name));
    SendMessageW(editOf(name), EM_SETSEL, 0, -1);
}

void Win32Window::type(std::string_view name, std::string_view text) {
    selectAll(name);
    // Past a hundred characters the text is set at once: 30,000 key events are slow.
    if (text.size() > 100) {
        SendMessageW(box(name), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(win32::toUtf16(text).c_str()));
        return processPendingMessages();
    }
    if (text.empty()) PostMessageW(GetFocus(), WM_CHAR, VK_BACK, 1);
    typeAtCaret(text);
}

void Win32Window::paste(std::string_view name, std::string_view text) {
    selectAll(name);
    pasteAtCaret(text);
}

void Win32Window::typeAtCaret(std::string_view text) {
    for (wchar_t c : win32::toUtf16(text)) PostMessageW(GetFocus(), WM_CHAR, c, 1);
    processPendingMessages();
}

// As a paste does, without the clipboard: the text replaces the selection.
void Win32Window::pasteAtCaret(std::string_view text) {
    SendMessageW(GetFocus(), EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(win32::toUtf16(text).c_str()));
    processPendingMessages();
}

void Win32Window::clickListItem(std::string_view name, int index) {
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    GetComboBoxInfo(box(name), &combo);
    RECT item{};
    SendMessageW(combo.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
    PostMessageW(combo.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(combo.hwndList, WM_LBUTTONUP, 0, at);
    processPendingMessages();
}

void Win32Window::pick(std::string_view name, std::string_view item, PickBy how) {
    const HWND combo = box(name);
    SetFocus(combo);
    const auto target =
        static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(win32::toUtf16(item).c_str())));
    ASSERT_NE(target, CB_ERR) << item;
    unseenGesture_.clear();
    const MessageRecorder commands({form_.window()}, WM_COMMAND);
    switch (how) {
    case PickBy::ArrowsOnClosedBox: break;
    case PickBy::MouseOnOpenList:
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        processPendingMessages();
        break;
    case PickBy::AltDownArrowsEnter: key(VK_DOWN, false, true); break;
    default: key(VK_F4); break;
    }
    if (how == PickBy::MouseOnOpenList || how == PickBy::F4ThenClick) {
        clickListItem(name, target);
    } else {
        const auto current = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
        for (auto i = current; i < target; ++i) key(VK_DOWN);
        for (auto i = current; i > target; --i) key(VK_UP);
        switch (how) {
        case PickBy::ArrowsOnClosedBox: break;
        case PickBy::F4ArrowsAltUp: key(VK_UP, false, true); break;
        case PickBy::F4ArrowsF4: key(VK_F4); break;
        case PickBy::F4ArrowsEscape: key(VK_ESCAPE); break;
        default: key(VK_RETURN); break;
        }
    }
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << "the list stays open";
    // Windows reports the list closed by F4 or Alt+Up as a selection
    // (CBN_SELENDOK), a pick; Wine as a cancel, which picks nothing.
    const auto sent = [&commands](WORD code) {
        return std::ranges::any_of(commands.seen,
                                   [code](auto c) { return HIWORD(c.second) == code; });
    };
    if ((how == PickBy::F4ArrowsF4 || how == PickBy::F4ArrowsAltUp) && sent(CBN_SELENDCANCEL) &&
        !sent(CBN_SELENDOK))
        unseenGesture_ = std::string("this system reports the list closed by ") +
                         (how == PickBy::F4ArrowsF4 ? "F4" : "Alt+Up") +
                         " as a cancel (CBN_SELENDCANCEL), as Wine does; Windows reports a "
                         "selection (CBN_SELENDOK), which picks: the pick cannot be seen here";
}

void Win32Window::openListAndLeave(std::string_view name, LeaveBy how) {
    const HWND combo = box(name);
    SetFocus(combo);
    key(VK_F4);
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << "F4 opens no list";
    switch (how) {
    case LeaveBy::Tab: key(VK_TAB); break;
    case LeaveBy::ShiftTab: key(VK_TAB, true); break;
    case LeaveBy::ClickIntoHeightBox: clickWhileAListIsOpen(form1::kHeightBox); break;
    case LeaveBy::AnotherWindow: leaveTheWindowAndComeBack(); break;
    }
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << "the list stays open";
}

// The list has the mouse captured and gets the click, outside itself; the
// button is down while its press is handled.
void Win32Window::clickWhileAListIsOpen(std::string_view control) {
    RECT target{};
    GetWindowRect(box(control), &target);
    const HWND captured = GetCapture();
    ASSERT_NE(captured, nullptr);
    POINT at{(target.left + target.right) / 2, (target.top + target.bottom) / 2};
    ScreenToClient(captured, &at);
    clickAt(captured, MAKELPARAM(at.x, at.y));
}

// The button is down while its press is handled; the window may be gone
// before it is released.
void Win32Window::clickAt(HWND target, LPARAM at) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_LBUTTON] = 0x80;
    SetKeyboardState(state);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    processPendingMessages();
    state[VK_LBUTTON] = 0;
    SetKeyboardState(state);
    if (IsWindow(target)) SendMessageW(target, WM_LBUTTONUP, 0, at);
    processPendingMessages();
}

void Win32Window::leaveTheWindowAndComeBack() {
    const win32::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE,
                                                    0, 0, 40, 40, nullptr, nullptr, nullptr,
                                                    nullptr));
    SetForegroundWindow(other.get());
    SetActiveWindow(other.get());
    processPendingMessages();
    EXPECT_EQ(GetActiveWindow(), other.get()) << "the other window did not become active";
    SetForegroundWindow(form_.window());
    SetActiveWindow(form_.window());
    processPendingMessages();
}

void Win32Window::click(std::string_view control) {
    const HWND target = editOf(control);
    wchar_t className[16] = {};
    GetClassNameW(target, className, 16);
    if (_wcsicmp(className, L"Button") == 0) {
        SendMessageW(target, BM_CLICK, 0, 0);
        processPendingMessages();
        return;
    }
    // A quarter in, where a box's text is.
    RECT rect{};
    GetClientRect(target, &rect);
    clickAt(target, MAKELPARAM(rect.right / 4, rect.bottom / 2));
}

void Win32Window::setText(std::string_view control, std::string_view text) {
    form_.setText(control, text);
}

std::string Win32Window::text(std::string_view name) const {
    const HWND window = box(name);
    std::wstring buffer(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1,
                        L'\0');
    buffer.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()))));
    return win32::toUtf8(buffer);
}

std::string Win32Window::selectedItem(std::string_view name) const {
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (!GetComboBoxInfo(box(name), &combo)) return {};
    const LRESULT selected = SendMessageW(box(name), CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return {};
    return items(name).at(static_cast<std::size_t>(selected));
}

std::vector<std::string> Win32Window::items(std::string_view name) const {
    std::vector<std::string> list;
    const HWND combo = box(name);
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; count != CB_ERR && i < static_cast<WPARAM>(count); ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                          L'\0');
        item.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        list.push_back(win32::toUtf8(item));
    }
    return list;
}

std::string Win32Window::focused() const {
    const HWND focus = GetFocus();
    for (const ControlDesign& control : design_.controls)
        if (box(control.name) == focus || IsChild(box(control.name), focus))
            return std::string(control.name);
    return {};
}

bool Win32Window::wholeTextSelected() const {
    const HWND focus = GetFocus();  // a combo box's edit field for the box
    wchar_t className[8] = {};
    GetClassNameW(focus, className, 8);
    if (_wcsicmp(className, L"Edit") != 0) return true;
    DWORD start = 0, end = 0;
    SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(focus));
}

std::pair<int, int> Win32Window::selection() const {
    DWORD start = 0, end = 0;
    SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

bool Win32Window::showsTheBeginning(std::string_view name) const {
    // For a single-line edit control: the first character it shows.
    return SendMessageW(editOf(name), EM_GETFIRSTVISIBLELINE, 0, 0) == 0;
}

bool Win32Window::isShown() const {
    return form_.window() != nullptr && IsWindowVisible(form_.window());
}

std::array<int, 4> Win32Window::placement(std::string_view control) const {
    RECT rect{};
    GetWindowRect(box(control), &rect);
    MapWindowPoints(nullptr, form_.window(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

int Win32Window::scaled(int pixelsAt96) const {
    return (pixelsAt96 * static_cast<int>(form_.dpi()) + 48) / 96;
}

std::pair<int, int> Win32Window::clientSize() const {
    RECT client{};
    GetClientRect(form_.window(), &client);
    return {client.right, client.bottom};
}

bool Win32Window::reportsWereModalToTheWindow() const {
    return std::all_of(reporter_.windows.begin(), reporter_.windows.end(),
                       [this](HWND window) { return window == form_.window(); });
}

bool Win32Window::canHold(std::string_view text) const {
    return text.find('\0') == std::string_view::npos;
}

// A pick is notified more than once (a selection change, then its end), each
// running the handler and announcing the units again; under one activity,
// UI Automation's "most recent" processing has the screen reader read the
// last only. Repeats in a row are therefore taken as one.
std::vector<std::string> Win32Window::takeAnnouncements() {
    std::vector<std::string> said = std::exchange(notifications(), {});
    said.erase(std::unique(said.begin(), said.end()), said.end());
    return said;
}

std::unique_ptr<WindowDriver> openWindow(const FormDesign& design) {
    return std::make_unique<Win32Window>(design);
}

}  // namespace parvolin::test
