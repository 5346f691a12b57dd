// Starts the real program on the X server in DISPLAY (the test runs it under
// its own Xvfb), finds its window, checks what a window manager and the user
// see, closes it as a close box does, and expects the program to end with 0.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

int failures = 0;
int passes = 0;

void expect(bool condition, const std::string& what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAILED", what.c_str());
    (condition ? passes : failures)++;
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> own(T* reply) { return Reply<T>(reply, &std::free); }

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto reply = own(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type) {
    auto reply = own(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 64), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::string windowName(xcb_connection_t* c, xcb_window_t w) {
    auto reply = own(xcb_get_property_reply(c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr));
    if (!reply) return {};
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            std::size_t(xcb_get_property_value_length(reply.get()))};
}

std::optional<xcb_window_t> findViewableWindow(xcb_connection_t* c, xcb_window_t root, const std::string& title) {
    auto tree = own(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && windowName(c, children[i]) == title)
            return children[i];
    }
    return std::nullopt;
}

std::optional<int> waitForExit(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(50ms);
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM\n", argv[0]);
        return 2;
    }
    pid_t pid = 0;
    char* programArgv[] = {argv[1], nullptr};
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, programArgv, environ) != 0) {
        std::perror("posix_spawn");
        return 2;
    }

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(c, &xcb_disconnect);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        kill(pid, SIGKILL);
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;

    std::optional<xcb_window_t> window;
    for (auto deadline = std::chrono::steady_clock::now() + 30s; !window && std::chrono::steady_clock::now() < deadline;) {
        window = findViewableWindow(c, screen->root, "Parvolin");
        if (!window) std::this_thread::sleep_for(100ms);
    }
    expect(window.has_value(), "a window titled Parvolin appears");
    if (!window) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return 1;
    }

    auto geometry = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, *window), nullptr));
    expect(geometry && geometry->width == 217 && geometry->height == 243, "its client area is 217 x 243");
    if (geometry) {
        const int left = (screen->width_in_pixels - 217) / 2;
        const int top = (screen->height_in_pixels - 243) / 2;
        expect(std::abs(geometry->x - left) <= 1 && std::abs(geometry->y - top) <= 1, "it is centred on the screen");
    }

    // WM_NORMAL_HINTS: flags, x, y, width, height, min w/h (5, 6), max w/h (7, 8).
    const auto hints = property(c, *window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS);
    expect(hints.size() >= 9 && hints[5] == 217 && hints[6] == 243 && hints[7] == 217 && hints[8] == 243,
           "it cannot be resized (minimum and maximum size are its size)");

    const auto states = property(c, *window, atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
    const xcb_atom_t skipTaskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    expect(std::find(states.begin(), states.end(), skipTaskbar) != states.end(), "it asks to stay off the taskbar");

    // What a window manager sends when the user presses the close box.
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = *window;
    close.type = atom(c, "WM_PROTOCOLS");
    close.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
    close.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, *window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
    xcb_flush(c);

    const std::optional<int> status = waitForExit(pid, 20s);
    expect(status == 0, "closing the window ends the program with status 0");
    if (!status) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
