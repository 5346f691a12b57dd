#pragma once

// A small X11 client for tests and benchmarks that run a real program on an
// X server: start it, find its window, read what a window manager reads, and
// close it as a close box does.
#include <sys/types.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace parvolin::x11 {

class Client {
public:
    Client();  // connects to DISPLAY; connected() tells whether it worked
    bool connected() const;

    // The first viewable top-level window with this title, also inside a
    // window manager's frame, waiting up to `limit`.
    std::optional<xcb_window_t> waitForWindow(const std::string& title,
                                              std::chrono::milliseconds limit);
    xcb_atom_t atom(const char* name);
    std::vector<std::uint32_t> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    std::string text(xcb_window_t window, xcb_atom_t name);  // an 8-bit property's bytes
    // Sends WM_DELETE_WINDOW, as a window manager does for the close box.
    void close(xcb_window_t window);
    const xcb_screen_t& screen() const { return *screen_; }
    xcb_connection_t* connection() const { return connection_.get(); }

private:
    std::optional<xcb_window_t> findWindow(xcb_window_t parent, const std::string& title,
                                           int depth);

    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection_;
    const xcb_screen_t* screen_ = nullptr;
};

// A started program; killed and reaped on destruction if still running.
class Process {
public:
    explicit Process(const std::string& path);
    // A command with arguments; the first is found on PATH.
    explicit Process(const std::vector<std::string>& command);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return pid_ > 0; }
    struct Exit {
        int status;          // exit status, or 128 + signal
        long peakMemoryKiB;  // the process's peak resident set
    };
    // Waits up to `limit` for the process to end.
    std::optional<Exit> waitForExit(std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
};

}  // namespace parvolin::x11
