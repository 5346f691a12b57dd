#include "x11_client.h"

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace parvolin::x11 {
namespace {

template <typename T>
std::unique_ptr<T, decltype(&std::free)> own(T* reply) {
    return {reply, &std::free};
}

}  // namespace

Client::Client() : connection_(xcb_connect(nullptr, nullptr), &xcb_disconnect) {
    if (connected()) screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection())).data;
}

bool Client::connected() const {
    return connection_ && !xcb_connection_has_error(connection_.get());
}

xcb_atom_t Client::atom(const char* name) {
    auto reply = own(xcb_intern_atom_reply(
        connection(), xcb_intern_atom(connection(), 0, std::uint16_t(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> Client::property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    auto reply = own(xcb_get_property_reply(
        connection(), xcb_get_property(connection(), 0, window, name, type, 0, 1u << 16), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::string Client::text(xcb_window_t window, xcb_atom_t name) {
    auto reply = own(xcb_get_property_reply(
        connection(),
        xcb_get_property(connection(), 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!reply || reply->format != 8) return {};
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            std::size_t(xcb_get_property_value_length(reply.get()))};
}

std::optional<xcb_window_t> Client::findWindow(xcb_window_t parent, const std::string& title,
                                               int depth) {
    auto tree =
        own(xcb_query_tree_reply(connection(), xcb_query_tree(connection(), parent), nullptr));
    const xcb_window_t* children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = own(xcb_get_window_attributes_reply(
            connection(), xcb_get_window_attributes(connection(), children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (text(children[i], XCB_ATOM_WM_NAME) == title) return children[i];
        // A window manager's frame holds the window one level down.
        if (depth > 0)
            if (auto found = findWindow(children[i], title, depth - 1)) return found;
    }
    return std::nullopt;
}

std::optional<xcb_window_t> Client::waitForWindow(const std::string& title,
                                                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        if (auto found = findWindow(screen_->root, title, 1)) return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void Client::close(xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection());
}

Process::Process(const std::string& path) : Process(std::vector<std::string>{path}) {}

Process::Process(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    if (argv.size() < 2 ||
        posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
}

Process::~Process() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

std::optional<Process::Exit> Process::waitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        rusage usage{};
        if (wait4(pid_, &status, WNOHANG, &usage) == pid_) {
            pid_ = -1;
            return Exit{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                        usage.ru_maxrss};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

}  // namespace parvolin::x11
