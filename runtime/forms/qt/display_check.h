#pragma once

#include <memory>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace parvolin::qt {

// Picks the window system to open the window on, before Qt is started, and
// checks that it answers: Qt aborts on a display that is gone (a stale ssh
// or tmux session), with advice to reinstall. X11 wherever an X server
// answers at DISPLAY, else Wayland where a compositor answers and Qt's
// Wayland plugin is installed. A platform the user chose (QT_QPA_PLATFORM or
// -platform) is left to Qt, except that the X11 plugin's display is checked
// all the same; a -display option stands for DISPLAY, as Qt reads them.
//
// An X server with no other client resets when its last client leaves, and
// a connection made during the reset fails. So the check's own connection
// stays open until Qt has connected: construct this before QApplication and
// keep it until QApplication exists.
class DisplayCheck {
public:
    DisplayCheck(int argc, char** argv);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // Why no window can be opened, if none can.
    const std::optional<std::string>& failure() const { return failure_; }

    // Qt has its own connection now: the check's may go.
    void release();

private:
    struct Disconnect {
        void operator()(xcb_connection_t* connection) const;
    };

    std::optional<std::string> check(int argc, char** argv);

    std::unique_ptr<xcb_connection_t, Disconnect> x11_;
    std::optional<std::string> failure_;
};

}  // namespace parvolin::qt
