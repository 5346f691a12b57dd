// Starts the real program on the X server in DISPLAY (the test runs it under
// its own Xvfb), finds its window, checks what a window manager and the user
// see, closes it as a close box does, and expects the program to end with 0.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "x11_client.h"

using namespace std::chrono_literals;
using parvolin::x11::Client;
using parvolin::x11::Process;

namespace {

int failures = 0;
int passes = 0;

void expect(bool condition, const std::string& what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what.c_str());
    (condition ? passes : failures)++;
}

int report() {
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    Process program(argv[1]);
    Client x;
    if (!program.started() || !x.connected()) {
        std::fprintf(stderr, "cannot start %s or reach the X server\n", argv[1]);
        return 2;
    }
    const auto window = x.waitForWindow("Parvolin", 30s);
    expect(window.has_value(), "a window titled Parvolin appears");
    if (!window) return report();

    auto geometry = std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)>(
        xcb_get_geometry_reply(x.connection(), xcb_get_geometry(x.connection(), *window), nullptr), &std::free);
    expect(geometry && geometry->width == 217 && geometry->height == 243, "its client area is 217 x 243");
    if (geometry) {
        const int left = (x.screen().width_in_pixels - 217) / 2;
        const int top = (x.screen().height_in_pixels - 243) / 2;
        expect(std::abs(geometry->x - left) <= 1 && std::abs(geometry->y - top) <= 1, "it is centred on the screen");
    }

    // WM_NORMAL_HINTS: flags, x, y, width, height, min w/h (5, 6), max w/h (7, 8).
    const auto hints = x.property(*window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    expect(hints.size() >= 9 && hints[5] == 217 && hints[6] == 243 && hints[7] == 217 && hints[8] == 243,
           "it cannot be resized (minimum and maximum size are its size)");

    const auto states = x.property(*window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    expect(std::find(states.begin(), states.end(), x.atom("_NET_WM_STATE_SKIP_TASKBAR")) != states.end(),
           "it asks to stay off the taskbar");

    // _NET_WM_ICON: width, height, then the pixels, for each size offered.
    const auto icon = x.property(*window, x.atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL);
    bool has48 = false;
    for (std::size_t at = 0; at + 1 < icon.size(); at += 2 + std::size_t(icon[at]) * icon[at + 1])
        has48 = has48 || (icon[at] == 48 && icon[at + 1] == 48);
    expect(has48, "it carries its icon, 48 x 48 among the sizes");

    x.close(*window);
    const auto exit = program.waitForExit(20s);
    expect(exit && exit->status == 0, "closing the window ends the program with status 0");
    return report();
}
