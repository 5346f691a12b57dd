#pragma once

#include <QMargins>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QWidget;
struct xcb_connection_t;

namespace parvolin::qt {

// Whether the window manager of this name (its _NET_WM_NAME) still lists a
// window that skips the taskbar in its task switcher. Where it does not, the
// no-taskbar hint would leave no way back to a covered window.
bool keepsSkipTaskbarWindowsInSwitcher(std::string_view windowManager);

// What an X11 window manager is told about a top-level window before it is
// first shown, and what it answers. On any other platform (Wayland,
// offscreen) there is no window manager to ask: nothing is set and nothing
// is known.
class X11DesktopHints {
public:
    // Asks the X server for the atoms it needs and goes on without waiting:
    // made before the window is built, the answers are there when needed.
    // The running window manager is then found, as EWMH names it, in at
    // most two more round trips.
    X11DesktopHints();

    // Keeps `window` off the taskbar (_NET_WM_STATE_SKIP_TASKBAR) if the
    // window manager's task switcher still lists it, else leaves it there.
    void skipTaskbarIfSwitcherKeepsIt(QWidget& window);

    // The frame the window manager will put around `window`, asked for
    // before the window is mapped (_NET_REQUEST_FRAME_EXTENTS); none from a
    // manager that does not answer.
    std::optional<QMargins> frameExtents(QWidget& window);

private:
    // The atoms, interned together.
    enum Atom {
        SupportingWmCheck,
        Supported,
        WmName,
        Utf8String,
        WmState,
        WmStateSkipTaskbar,
        RequestFrameExtents,
        FrameExtents,
        AtomCount
    };

    void findWindowManager();
    std::optional<QMargins> readFrameExtents(QWidget& window) const;

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t interned_[AtomCount] = {};  // the requests' cookies
    bool managerKnown_ = false;
    std::uint32_t atoms_[AtomCount] = {};
    std::string windowManager_;
    bool answersFrameExtents_ = false;
};

}  // namespace parvolin::qt
