#include "runtime/forms/qt/x11_desktop_hints.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define PARVOLIN_X11 1
#endif

namespace parvolin::qt {

bool keepsSkipTaskbarWindowsInSwitcher(std::string_view windowManager) {
    // KWin keeps a separate "skip switcher" state, and Openbox keeps dialog
    // windows in its Alt+Tab list whatever their taskbar state. Mutter (GNOME
    // Shell), Muffin (Cinnamon), Marco (MATE) and Metacity build their
    // Alt+Tab list from the windows that do not skip the taskbar, and Xfwm4
    // skips them by default; anything unknown is treated the same way, since
    // a window that cannot be switched to is lost behind the next one.
    return windowManager == "KWin" || windowManager == "Openbox";
}

#ifdef PARVOLIN_X11
namespace {

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply* reply) {
    return {reply, &std::free};
}

// Every atom named here is interned in one round trip: over ssh -X each
// round trip is a network's.
// clang-format off
constexpr std::array<const char*, 8> kAtomNames{
    "_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_WM_NAME", "UTF8_STRING",
    "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_REQUEST_FRAME_EXTENTS",
    "_NET_FRAME_EXTENTS"};
// clang-format on

xcb_get_property_cookie_t askProperty(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t name, xcb_atom_t type, std::uint32_t longs) {
    return xcb_get_property(connection, 0, window, name, type, 0, longs);
}

// A property's value, as the reply to `cookie` carries it; none when unset.
template <typename Value>
std::optional<std::vector<Value>> propertyValue(xcb_connection_t* connection,
                                                xcb_get_property_cookie_t cookie) {
    const auto reply = owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* data = static_cast<const Value*>(xcb_get_property_value(reply.get()));
    const auto bytes = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    return std::vector<Value>(data, data + bytes / sizeof(Value));
}

// The one window named by a _NET_SUPPORTING_WM_CHECK value, if it names one.
std::optional<xcb_window_t> checkWindow(const std::optional<std::vector<xcb_window_t>>& value) {
    if (!value || value->size() != 1) return std::nullopt;
    return value->front();
}

// Ends a local event loop when the window manager has set the frame
// extents on the window.
class FrameExtentsAnswer final : public QAbstractNativeEventFilter {
public:
    FrameExtentsAnswer(xcb_window_t window, xcb_atom_t frameExtents, QEventLoop& loop)
        : window_(window), frameExtents_(frameExtents), loop_(loop) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->window == window_ && change->atom == frameExtents_) loop_.quit();
        return false;
    }

private:
    xcb_window_t window_;
    xcb_atom_t frameExtents_;
    QEventLoop& loop_;
};

}  // namespace

X11DesktopHints::X11DesktopHints() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    connection_ = x11 ? x11->connection() : nullptr;
    if (connection_ == nullptr) return;
    for (std::size_t at = 0; at < kAtomNames.size(); ++at)
        interned_[at] =
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(kAtomNames[at])),
                            kAtomNames[at])
                .sequence;
    xcb_flush(connection_);
}

// EWMH: the root's _NET_SUPPORTING_WM_CHECK names a window whose own
// _NET_SUPPORTING_WM_CHECK names itself. A property left behind by a
// manager that has gone fails that test, and then no manager runs.
void X11DesktopHints::findWindowManager() {
    if (managerKnown_) return;
    managerKnown_ = true;
    for (std::size_t at = 0; at < kAtomNames.size(); ++at) {
        const auto reply = owned(
            xcb_intern_atom_reply(connection_, xcb_intern_atom_cookie_t{interned_[at]}, nullptr));
        atoms_[at] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const auto rootCheck =
        askProperty(connection_, root, atoms_[SupportingWmCheck], XCB_ATOM_WINDOW, 1);
    const auto supported = askProperty(connection_, root, atoms_[Supported], XCB_ATOM_ATOM, 1024);
    const auto manager = checkWindow(propertyValue<xcb_window_t>(connection_, rootCheck));
    const auto supportedAtoms = propertyValue<xcb_atom_t>(connection_, supported);
    if (!manager) return;

    const auto ownCheck =
        askProperty(connection_, *manager, atoms_[SupportingWmCheck], XCB_ATOM_WINDOW, 1);
    const auto name = askProperty(connection_, *manager, atoms_[WmName], atoms_[Utf8String], 256);
    const auto selfNamed = checkWindow(propertyValue<xcb_window_t>(connection_, ownCheck));
    const auto nameBytes = propertyValue<char>(connection_, name);
    if (selfNamed != manager) return;
    if (nameBytes) windowManager_.assign(nameBytes->begin(), nameBytes->end());
    answersFrameExtents_ =
        supportedAtoms && std::find(supportedAtoms->begin(), supportedAtoms->end(),
                                    atoms_[RequestFrameExtents]) != supportedAtoms->end();
}

void X11DesktopHints::skipTaskbarIfSwitcherKeepsIt(QWidget& window) {
    if (connection_ == nullptr) return;
    findWindowManager();
    if (!keepsSkipTaskbarWindowsInSwitcher(windowManager_)) return;
    // Qt has no flag for this; the state set before mapping survives the map.
    const xcb_atom_t skipTaskbar = atoms_[WmStateSkipTaskbar];
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND,
                        static_cast<xcb_window_t>(window.winId()), atoms_[WmState], XCB_ATOM_ATOM,
                        32, 1, &skipTaskbar);
    xcb_flush(connection_);
}

std::optional<QMargins> X11DesktopHints::frameExtents(QWidget& widget) {
    if (connection_ == nullptr) return std::nullopt;
    findWindowManager();
    if (!answersFrameExtents_) return std::nullopt;
    const auto window = static_cast<xcb_window_t>(widget.winId());
    QEventLoop loop;
    FrameExtentsAnswer answer(window, atoms_[FrameExtents], loop);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(&answer);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = atoms_[RequestFrameExtents];
    xcb_send_event(connection_, 0, xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection_);
    // A manager that claims the request answers at once, unless the machine
    // is loaded; one that never does costs at most this, and the window is
    // then centred once framed.
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QAbstractEventDispatcher::instance()->removeNativeEventFilter(&answer);
    return readFrameExtents(widget);
}

// _NET_FRAME_EXTENTS: left, right, top, bottom.
std::optional<QMargins> X11DesktopHints::readFrameExtents(QWidget& window) const {
    const auto extents = propertyValue<std::uint32_t>(
        connection_, askProperty(connection_, static_cast<xcb_window_t>(window.winId()),
                                 atoms_[FrameExtents], XCB_ATOM_CARDINAL, 4));
    if (!extents || extents->size() != 4) return std::nullopt;
    const auto& [left, right, top, bottom] =
        std::array{(*extents)[0], (*extents)[1], (*extents)[2], (*extents)[3]};
    return QMargins(int(left), int(top), int(right), int(bottom));
}

#else
X11DesktopHints::X11DesktopHints() {}
void X11DesktopHints::findWindowManager() {}
void X11DesktopHints::skipTaskbarIfSwitcherKeepsIt(QWidget&) {}
std::optional<QMargins> X11DesktopHints::frameExtents(QWidget&) { return std::nullopt; }
std::optional<QMargins> X11DesktopHints::readFrameExtents(QWidget&) const { return std::nullopt; }
#endif

}  // namespace parvolin::qt
