#include "runtime/forms/qt/display_check.h"

#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#define PARVOLIN_X11 1
#endif

namespace parvolin::qt {
namespace {

#ifdef PARVOLIN_X11
std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value of one of Qt's own command-line options (-platform, -display),
// which Qt also takes with two dashes; empty when it is not given.
std::string qtOption(int argc, char** argv, std::string_view option) {
    for (int at = 1; at + 1 < argc; ++at) {
        std::string_view argument = argv[at];
        if (argument.starts_with("--")) argument.remove_prefix(1);
        if (argument == option) return argv[at + 1];
    }
    return {};
}

// Whether a platform as Qt takes it ("xcb", "xcb:option=value", or a list of
// fallbacks "wayland;xcb") starts with the X11 plugin.
bool startsWithX11(std::string_view platform) {
    const std::string_view first = platform.substr(0, platform.find(';'));
    return first.substr(0, first.find(':')) == "xcb";
}

// Whether a Wayland compositor listens at `display` (a socket name under
// XDG_RUNTIME_DIR, or a path).
bool waylandAnswers(const std::string& display) {
    const std::string path =
        display.starts_with('/') ? display : environment("XDG_RUNTIME_DIR") + '/' + display;
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const bool answers =
        ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

// Qt's Wayland platform plugin is a package of its own (qt6-wayland).
bool waylandPluginInstalled() {
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders)
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("libqwayland*")})
                 .isEmpty())
            return true;
    return false;
}

// Why the window cannot open on the Wayland display in WAYLAND_DISPLAY, if
// it cannot.
std::optional<std::string> waylandFailure() {
    const std::string display = environment("WAYLAND_DISPLAY");
    if (display.empty()) return "DISPLAY is not set";
    if (!waylandPluginInstalled())
        return "WAYLAND_DISPLAY is set, but Qt's Wayland plugin is not installed: install "
               "qt6-wayland";
    if (!waylandAnswers(display))
        return "no Wayland compositor answers at WAYLAND_DISPLAY " + display;
    return std::nullopt;
}
#endif

}  // namespace

void DisplayCheck::Disconnect::operator()([[maybe_unused]] xcb_connection_t* connection) const {
#ifdef PARVOLIN_X11
    xcb_disconnect(connection);
#endif
}

DisplayCheck::DisplayCheck(int argc, char** argv) : failure_(check(argc, argv)) {}

DisplayCheck::~DisplayCheck() = default;

void DisplayCheck::release() { x11_.reset(); }

std::optional<std::string> DisplayCheck::check([[maybe_unused]] int argc,
                                               [[maybe_unused]] char** argv) {
#ifdef PARVOLIN_X11
    const std::string option = qtOption(argc, argv, "-display");
    const std::string x11Display = option.empty() ? environment("DISPLAY") : option;
    const std::string named = (option.empty() ? "DISPLAY " : "-display ") + x11Display;
    const auto x11Answers = [&] {
        x11_.reset(xcb_connect(x11Display.c_str(), nullptr));
        if (xcb_connection_has_error(x11_.get()) == 0) return true;
        x11_.reset();
        return false;
    };

    // A platform the user chose (offscreen, say) is left to Qt, but Qt's
    // X11 plugin aborts on a dead display whoever chose it.
    std::string chosen = qtOption(argc, argv, "-platform");
    if (chosen.empty()) chosen = environment("QT_QPA_PLATFORM");
    if (!chosen.empty()) {
        if (!startsWithX11(chosen)) return std::nullopt;
        if (x11Display.empty()) return "DISPLAY is not set";
        if (!x11Answers()) return "no X server answers at " + named;
        return std::nullopt;
    }
    // X11 first wherever there is an X server, also under Xwayland: there
    // the window is centred and kept off the taskbar as designed, and the
    // X11 plugin is the one the program is tested and packaged with.
    if (!x11Display.empty()) {
        if (x11Answers()) {
            qputenv("QT_QPA_PLATFORM", "xcb");
            return std::nullopt;
        }
        // A DISPLAY left over beside a working Wayland session is no reason
        // to refuse; a -display the user typed is.
        const std::string failure = "no X server answers at " + named;
        if (!option.empty() || environment("WAYLAND_DISPLAY").empty()) return failure;
        if (const auto wayland = waylandFailure()) return failure + ", and " + *wayland;
    } else if (auto failure = waylandFailure()) {
        return failure;
    }
    qputenv("QT_QPA_PLATFORM", "wayland");
    return std::nullopt;
#else
    return std::nullopt;
#endif
}

}  // namespace parvolin::qt
