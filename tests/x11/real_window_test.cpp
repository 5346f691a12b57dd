// Starts the real program on the X server in DISPLAY (the test runs it under
// its own Xvfb), finds its window, checks what a window manager and the user
// see, closes it as a close box does, and expects the program to end with 0.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

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

// The window's client size when the desktop's font has this many points:
// the design's 217 x 243 grown by points / 9, never shrunk.
std::pair<int, int> clientSize(int points) {
    const double scale = points > 9 ? points / 9.0 : 1.0;
    return {int(3255 * scale / 15 + 0.5), int(3645 * scale / 15 + 0.5)};
}

// The value of `key=` in a desktop entry.
std::string desktopEntry(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
    return {};
}

}  // namespace

// real_window_test [--wm openbox] [--font-points N] [--desktop FILE] PROGRAM
// --wm starts that window manager first; --font-points hands the program a
// desktop font of N points the way a KDE session does; --desktop names the
// launcher whose StartupWMClass the window must carry.
int main(int argc, char** argv) {
    std::string windowManager, desktopFile;
    int points = 9;
    int at = 1;
    for (; at + 1 < argc && std::string(argv[at]).starts_with("--"); at += 2) {
        const std::string option = argv[at];
        if (option == "--wm")
            windowManager = argv[at + 1];
        else if (option == "--font-points")
            points = std::atoi(argv[at + 1]);
        else if (option == "--desktop")
            desktopFile = argv[at + 1];
    }
    if (at + 1 != argc) {
        std::fprintf(stderr, "usage: %s [--wm NAME] [--font-points N] [--desktop FILE] PROGRAM\n",
                     argv[0]);
        return 2;
    }
    Client x;
    if (!x.connected()) {
        std::fprintf(stderr, "cannot reach the X server\n");
        return 2;
    }
    std::optional<Process> manager;
    if (!windowManager.empty()) {
        manager.emplace(std::vector<std::string>{windowManager, "--sm-disable"});
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (x.property(x.screen().root, x.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW)
                   .empty() &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        expect(!x.property(x.screen().root, x.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW)
                    .empty(),
               windowManager + " runs");
    }
    char configHome[] = "/tmp/parvolin-kde-XXXXXX";
    if (points != 9) {
        if (mkdtemp(configHome) == nullptr) return 2;
        std::ofstream(std::string(configHome) + "/kdeglobals")
            << "[General]\nfont=DejaVu Sans," << points << ",-1,5,50,0,0,0,0,0\n";
        setenv("XDG_CONFIG_HOME", configHome, 1);
        setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
        setenv("KDE_SESSION_VERSION", "5", 1);
    }
    Process program(argv[at]);
    if (!program.started()) {
        std::fprintf(stderr, "cannot start %s\n", argv[at]);
        return 2;
    }
    const auto window = x.waitForWindow("Parvolin", 30s);
    if (points != 9) std::filesystem::remove_all(configHome);
    expect(window.has_value(), "a window titled Parvolin appears");
    if (!window) return report();

    const auto [width, height] = clientSize(points);
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    auto geometry = std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)>(
        xcb_get_geometry_reply(x.connection(), xcb_get_geometry(x.connection(), *window), nullptr),
        &std::free);
    expect(geometry && geometry->width == width && geometry->height == height,
           "its client area is " + size + " at a " + std::to_string(points) + "-point font");

    // The framed window (the client area alone without a window manager)
    // sits in the middle of the work area, once the program has placed it.
    const auto frameOffCentre = [&] {
        const auto extents = x.property(*window, x.atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
        const int left = extents.size() == 4 ? int(extents[0]) : 0,
                  right = extents.size() == 4 ? int(extents[1]) : 0;
        const int top = extents.size() == 4 ? int(extents[2]) : 0,
                  bottom = extents.size() == 4 ? int(extents[3]) : 0;
        auto origin = std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)>(
            xcb_translate_coordinates_reply(
                x.connection(),
                xcb_translate_coordinates(x.connection(), *window, x.screen().root, 0, 0), nullptr),
            &std::free);
        if (!origin) return 1000;
        const int centreX = origin->dst_x - left + (width + left + right) / 2;
        const int centreY = origin->dst_y - top + (height + top + bottom) / 2;
        return std::max(std::abs(centreX - x.screen().width_in_pixels / 2),
                        std::abs(centreY - x.screen().height_in_pixels / 2));
    };
    const auto placedBy = std::chrono::steady_clock::now() + 5s;
    while (frameOffCentre() > 1 && std::chrono::steady_clock::now() < placedBy)
        std::this_thread::sleep_for(10ms);
    expect(frameOffCentre() <= 1, "the framed window is centred on the screen (off by " +
                                      std::to_string(frameOffCentre()) + " px)");

    // WM_NORMAL_HINTS: flags, x, y, width, height, min w/h (5, 6), max w/h (7, 8).
    const auto hints = x.property(*window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    expect(hints.size() >= 9 && int(hints[5]) == width && int(hints[6]) == height &&
               int(hints[7]) == width && int(hints[8]) == height,
           "it cannot be resized (minimum and maximum size are its size)");

    // Off the taskbar only where the window manager's task switcher still
    // lists such a window (Openbox does; with no window manager nothing would).
    const auto states = x.property(*window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    const bool skipsTaskbar = std::find(states.begin(), states.end(),
                                        x.atom("_NET_WM_STATE_SKIP_TASKBAR")) != states.end();
    expect(skipsTaskbar == (windowManager == "openbox"),
           windowManager == "openbox"
               ? "it asks Openbox to keep it off the taskbar"
               : "it keeps its taskbar entry where no switcher is known to list it");

    // WM_CLASS: instance and class, each ending in a NUL.
    if (!desktopFile.empty()) {
        const std::string wmClass = x.text(*window, XCB_ATOM_WM_CLASS);
        const std::string className = wmClass.substr(wmClass.find('\0') + 1);
        const std::string expected = desktopEntry(desktopFile, "StartupWMClass");
        expect(!expected.empty() && className == expected + '\0',
               "its WM_CLASS class matches the launcher's StartupWMClass \"" + expected + "\"");
    }

    // _NET_WM_ICON: width, height, then the pixels, for each size offered.
    const auto icon = x.property(*window, x.atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL);
    bool has48 = false, has256 = false;
    for (std::size_t i = 0; i + 1 < icon.size(); i += 2 + std::size_t(icon[i]) * icon[i + 1]) {
        has48 = has48 || (icon[i] == 48 && icon[i + 1] == 48);
        has256 = has256 || (icon[i] == 256 && icon[i + 1] == 256);
    }
    expect(has48 && has256, "it carries its icon, 48 x 48 and 256 x 256 among the sizes");

    x.close(*window);
    const auto exit = program.waitForExit(20s);
    expect(exit && exit->status == 0, "closing the window ends the program with status 0");
    return report();
}
