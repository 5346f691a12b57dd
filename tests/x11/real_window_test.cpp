// Starts the real program on the X server in DISPLAY (the test runs it under
// its own Xvfb), finds its window, checks what a window manager and the user
// see, closes it as a close box does, and expects the program to end with 0.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
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

template <typename T>
std::unique_ptr<T, decltype(&std::free)> own(T* reply) {
    return {reply, &std::free};
}

// The value of `key=` in a desktop entry.
std::string desktopEntry(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
    return {};
}

struct Options {
    std::string windowManager, desktopFile, staleManager;
    std::string font;  // a KDE font entry: family, points, pixels, hint, weight
    int xftDpi = 0;
    int expectedWidth = 0, expectedHeight = 0;  // the client area, when given
    int starts = 0;                             // each on a fresh server of its own
    std::string xvfb = "Xvfb";
    std::string program;
};

// real_window_test [OPTION VALUE]... PROGRAM
std::optional<Options> parse(int argc, char** argv) {
    Options options;
    int at = 1;
    for (; at + 1 < argc && std::string(argv[at]).starts_with("--"); at += 2) {
        const std::string option = argv[at], value = argv[at + 1];
        if (option == "--wm")
            options.windowManager = value;
        else if (option == "--stale-wm-check")
            options.staleManager = value;
        else if (option == "--font")
            options.font = value;
        else if (option == "--xft-dpi")
            options.xftDpi = std::atoi(value.c_str());
        else if (option == "--client")
            std::sscanf(value.c_str(), "%dx%d", &options.expectedWidth, &options.expectedHeight);
        else if (option == "--desktop")
            options.desktopFile = value;
        else if (option == "--starts")
            options.starts = std::atoi(value.c_str());
        else if (option == "--xvfb")
            options.xvfb = value;
        else
            return std::nullopt;
    }
    if (at + 1 != argc) return std::nullopt;
    options.program = argv[at];
    return options;
}

// Hands the program a desktop font the way a KDE session does.
class KdeFont {
public:
    explicit KdeFont(const std::string& font) {
        if (font.empty() || mkdtemp(folder_) == nullptr) return;
        std::ofstream(std::string(folder_) + "/kdeglobals") << "[General]\nfont=" << font << "\n";
        setenv("XDG_CONFIG_HOME", folder_, 1);
        setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
        setenv("KDE_SESSION_VERSION", "5", 1);
    }
    ~KdeFont() { std::filesystem::remove_all(folder_); }
    KdeFont(const KdeFont&) = delete;
    KdeFont& operator=(const KdeFont&) = delete;

private:
    char folder_[32] = "/tmp/parvolin-kde-XXXXXX";
};

// Sets Xft.dpi among the server's resources, as a desktop's settings do.
void setXftDpi(Client& x, int dpi) {
    const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
    xcb_change_property(x.connection(), XCB_PROP_MODE_REPLACE, x.screen().root,
                        XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                        std::uint32_t(resources.size()), resources.data());
    xcb_flush(x.connection());
}

// What a window manager that has gone leaves behind: the root names a
// check window with its name, but that window does not name itself.
xcb_window_t leaveStaleManagerCheck(Client& x, const std::string& name) {
    const xcb_window_t window = xcb_generate_id(x.connection());
    xcb_create_window(x.connection(), XCB_COPY_FROM_PARENT, window, x.screen().root, -1, -1, 1, 1,
                      0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_change_property(x.connection(), XCB_PROP_MODE_REPLACE, window, x.atom("_NET_WM_NAME"),
                        x.atom("UTF8_STRING"), 8, std::uint32_t(name.size()), name.data());
    xcb_change_property(x.connection(), XCB_PROP_MODE_REPLACE, x.screen().root,
                        x.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 32, 1, &window);
    xcb_flush(x.connection());
    return window;
}

void startWindowManager(Client& x, const std::string& name, std::optional<Process>& manager) {
    if (name.empty()) return;
    manager.emplace(std::vector<std::string>{name, "--sm-disable"});
    const auto running = [&] {
        return !x.property(x.screen().root, x.atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW)
                    .empty();
    };
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    expect(running(), name + " runs");
}

// The top-level window that holds `window`: the manager's frame, or the
// window itself without a manager.
xcb_window_t topLevel(Client& x, xcb_window_t window) {
    for (;;) {
        auto tree = own(
            xcb_query_tree_reply(x.connection(), xcb_query_tree(x.connection(), window), nullptr));
        if (!tree || tree->parent == x.screen().root || tree->parent == XCB_WINDOW_NONE)
            return window;
        window = tree->parent;
    }
}

// The frame's rectangle on the screen: the window's origin, less the frame
// extents the manager announces.
struct Frame {
    int left, top, right, bottom;
};
Frame frameOf(Client& x, xcb_window_t window, int width, int height) {
    const auto extents = x.property(window, x.atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    const auto side = [&](std::size_t at) { return extents.size() == 4 ? int(extents[at]) : 0; };
    auto origin = own(xcb_translate_coordinates_reply(
        x.connection(), xcb_translate_coordinates(x.connection(), window, x.screen().root, 0, 0),
        nullptr));
    if (!origin) return {-10000, -10000, -10000, -10000};
    return {origin->dst_x - side(0), origin->dst_y - side(2), origin->dst_x + width + side(1),
            origin->dst_y + height + side(3)};
}

// Moves of a top-level window after its first map, read from the root's
// structure events: the window jumped if it was mapped in one place and
// then moved to another.
class MoveWatch {
public:
    explicit MoveWatch(Client& x) : x_(x) {
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(x.connection(), x.screen().root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(x.connection());
    }

    // How many times `window` moved after it was first mapped.
    int movesAfterMap(xcb_window_t window) {
        while (auto event = own(xcb_poll_for_event(x_.connection()))) {
            switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                windows_[create->window] = {create->x, create->y, false, 0};
                break;
            }
            case XCB_MAP_NOTIFY:
                windows_[reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window].mapped =
                    true;
                break;
            case XCB_CONFIGURE_NOTIFY: {
                const auto* change = reinterpret_cast<xcb_configure_notify_event_t*>(event.get());
                auto& seen = windows_[change->window];
                if (seen.mapped && (change->x != seen.x || change->y != seen.y)) ++seen.moves;
                seen.x = change->x;
                seen.y = change->y;
                break;
            }
            default: break;
            }
        }
        return windows_[window].moves;
    }

private:
    struct Seen {
        int x, y;
        bool mapped;
        int moves;
    };
    Client& x_;
    std::map<xcb_window_t, Seen> windows_;
};

// Everything about one started window that a window manager and a user see.
void checkWindow(Client& x, const Options& options, xcb_window_t window, MoveWatch& moves) {
    auto geometry = own(
        xcb_get_geometry_reply(x.connection(), xcb_get_geometry(x.connection(), window), nullptr));
    const int width = geometry ? geometry->width : 0, height = geometry ? geometry->height : 0;
    if (options.expectedWidth > 0)
        expect(width == options.expectedWidth && height == options.expectedHeight,
               "its client area is " + std::to_string(options.expectedWidth) + " x " +
                   std::to_string(options.expectedHeight) + " (" + std::to_string(width) + " x " +
                   std::to_string(height) + ")");

    // The framed window (the client area alone without a window manager)
    // sits in the middle of the work area, once the program has placed it,
    // or, when it is larger, from the top left of the screen.
    const int screenWidth = x.screen().width_in_pixels, screenHeight = x.screen().height_in_pixels;
    const auto offCentre = [&] {
        const Frame frame = frameOf(x, window, width, height);
        const int dx = std::abs((frame.left + frame.right) / 2 - screenWidth / 2);
        const int dy = std::abs((frame.top + frame.bottom) / 2 - screenHeight / 2);
        return std::max(frame.right - frame.left <= screenWidth ? dx : std::abs(frame.left),
                        frame.bottom - frame.top <= screenHeight ? dy : std::abs(frame.top));
    };
    const auto placedBy = std::chrono::steady_clock::now() + 5s;
    while (offCentre() > 1 && std::chrono::steady_clock::now() < placedBy)
        std::this_thread::sleep_for(10ms);
    expect(offCentre() <= 1, "the framed window is centred on the screen (off by " +
                                 std::to_string(offCentre()) + " px)");
    const Frame frame = frameOf(x, window, width, height);
    expect(frame.left >= 0 && frame.top >= 0 && frame.right <= screenWidth &&
               frame.bottom <= screenHeight,
           "the framed window lies within the screen (" + std::to_string(frame.left) + ", " +
               std::to_string(frame.top) + ") to (" + std::to_string(frame.right) + ", " +
               std::to_string(frame.bottom) + ")");
    expect(moves.movesAfterMap(topLevel(x, window)) == 0,
           "it appears where it stays: no move after its first map");

    // WM_NORMAL_HINTS: flags, x, y, width, height, min w/h (5, 6), max w/h (7, 8).
    const auto hints = x.property(window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    expect(hints.size() >= 9 && int(hints[5]) == width && int(hints[6]) == height &&
               int(hints[7]) == width && int(hints[8]) == height,
           "it cannot be resized (minimum and maximum size are its size)");

    // Off the taskbar only where the window manager's task switcher still
    // lists such a window (Openbox does; with no window manager nothing would).
    const auto states = x.property(window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    const bool skipsTaskbar = std::find(states.begin(), states.end(),
                                        x.atom("_NET_WM_STATE_SKIP_TASKBAR")) != states.end();
    expect(skipsTaskbar == (options.windowManager == "openbox"),
           options.windowManager == "openbox"
               ? "it asks Openbox to keep it off the taskbar"
               : "it keeps its taskbar entry where no switcher is known to list it");

    // WM_CLASS: instance and class, each ending in a NUL.
    if (!options.desktopFile.empty()) {
        const std::string wmClass = x.text(window, XCB_ATOM_WM_CLASS);
        const std::string className = wmClass.substr(wmClass.find('\0') + 1);
        const std::string expected = desktopEntry(options.desktopFile, "StartupWMClass");
        expect(!expected.empty() && className == expected + '\0',
               "its WM_CLASS class matches the launcher's StartupWMClass \"" + expected + "\"");
    }

    // _NET_WM_ICON: width, height, then the pixels, for each size offered;
    // set once the window has been drawn.
    const auto hasIcon = [&] {
        const auto icon = x.property(window, x.atom("_NET_WM_ICON"), XCB_ATOM_CARDINAL);
        bool has48 = false, has256 = false;
        for (std::size_t i = 0; i + 1 < icon.size(); i += 2 + std::size_t(icon[i]) * icon[i + 1]) {
            has48 = has48 || (icon[i] == 48 && icon[i + 1] == 48);
            has256 = has256 || (icon[i] == 256 && icon[i + 1] == 256);
        }
        return has48 && has256;
    };
    const auto iconBy = std::chrono::steady_clock::now() + 5s;
    while (!hasIcon() && std::chrono::steady_clock::now() < iconBy)
        std::this_thread::sleep_for(10ms);
    expect(hasIcon(), "it carries its icon, 48 x 48 and 256 x 256 among the sizes");
}

int runOnce(const Options& options) {
    Client x;
    if (!x.connected()) {
        std::fprintf(stderr, "cannot reach the X server\n");
        return 2;
    }
    if (options.xftDpi > 0) setXftDpi(x, options.xftDpi);
    if (!options.staleManager.empty()) leaveStaleManagerCheck(x, options.staleManager);
    std::optional<Process> manager;
    startWindowManager(x, options.windowManager, manager);
    MoveWatch moves(x);
    std::optional<Process> program;
    {
        const KdeFont font(options.font);
        program.emplace(options.program);
        if (!program->started()) {
            std::fprintf(stderr, "cannot start %s\n", options.program.c_str());
            return 2;
        }
        const auto window = x.waitForWindow("Parvolin", 30s);
        expect(window.has_value(), "a window titled Parvolin appears");
        if (!window) return report();
        checkWindow(x, options, *window, moves);
        x.close(*window);
    }
    const auto exit = program->waitForExit(20s);
    expect(exit && exit->status == 0, "closing the window ends the program with status 0");
    return report();
}

// A connection to an X server that may be resetting: retried for a while.
std::optional<Client> connectWhenReady() {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    for (;;) {
        std::optional<Client> x(std::in_place);
        if (x->connected() || std::chrono::steady_clock::now() > deadline)
            return x->connected() ? std::move(x) : std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

// A fresh X server of its own, ended on destruction. It sends its display
// number through a pipe once it accepts connections (-displayfd), so that
// no client connects to see whether it is up. Niced, so that with the cores
// kept busy it handles a client's leaving late, as a loaded machine's does.
class FreshServer {
public:
    explicit FreshServer(const std::string& xvfb) {
        int ends[2];
        if (pipe(ends) != 0) return;
        server_.emplace(std::vector<std::string>{"nice", "-n", "10", xvfb, "-displayfd",
                                                 std::to_string(ends[1]), "-screen", "0",
                                                 "800x600x24", "-nolisten", "tcp"});
        close(ends[1]);
        char digits[16] = {};
        for (std::size_t at = 0; at + 1 < sizeof digits && read(ends[0], digits + at, 1) == 1; ++at)
            if (digits[at] == '\n') break;
        close(ends[0]);
        if (std::isdigit(static_cast<unsigned char>(digits[0])))
            display_ = ":" + std::string(digits, std::strcspn(digits, "\n"));
    }

    // Empty when the server did not start.
    const std::string& display() const { return display_; }

private:
    std::optional<Process> server_;
    std::string display_;
};

// The program started again and again, each time on a fresh X server that
// resets when its last client leaves (no -noreset), with no other client
// connected while it starts and both cores kept busy: each start must show
// its window. The test connects only once the program has had time to
// connect itself.
int startRepeatedly(const Options& options) {
    const std::vector<std::string> busy{"sh", "-c", "while :; do :; done"};
    const Process busy1(busy), busy2(busy);
    for (int start = 1; start <= options.starts; ++start) {
        const FreshServer server(options.xvfb);
        if (server.display().empty()) {
            std::fprintf(stderr, "cannot start %s\n", options.xvfb.c_str());
            return 2;
        }
        setenv("DISPLAY", server.display().c_str(), 1);
        Process program(options.program);
        const std::string which = "start " + std::to_string(start);
        if (auto early = program.waitForExit(500ms)) {
            expect(false, which + " shows its window (it ended with " +
                              std::to_string(early->status) + ")");
            continue;
        }
        auto x = connectWhenReady();
        const auto window = x ? x->waitForWindow("Parvolin", 30s) : std::nullopt;
        expect(window.has_value(), which + " shows its window");
        if (!window) continue;
        x->close(*window);
        const auto exit = program.waitForExit(20s);
        expect(exit && exit->status == 0, which + " ends with status 0 when closed");
    }
    return report();
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr,
                     "usage: %s [--wm NAME] [--stale-wm-check NAME] [--font KDE-FONT] "
                     "[--xft-dpi N] [--client WxH] [--desktop FILE] [--starts N [--xvfb PATH]] "
                     "PROGRAM\n",
                     argv[0]);
        return 2;
    }
    return options->starts > 0 ? startRepeatedly(*options) : runOnce(*options);
}
