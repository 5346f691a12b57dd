#include "runtime/forms/qt/application.h"

#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/form.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
#include <QtGui/qguiapplication_platform.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#define PARVOLIN_X11 1
#endif

namespace parvolin {
namespace qt {
namespace {

#ifdef PARVOLIN_X11
std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Whether an X server answers at `display`. Qt aborts on a display that is
// gone (a stale ssh or tmux session), with advice to reinstall.
bool x11Answers(const std::string& display) {
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
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

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<std::string> property(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t name, xcb_atom_t type) {
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, 256), nullptr),
        &std::free);
    if (!reply || reply->type == XCB_ATOM_NONE) return std::nullopt;
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// The running window manager's name, as it announces itself
// (_NET_SUPPORTING_WM_CHECK, then _NET_WM_NAME on that window); empty when
// no EWMH window manager runs.
std::string windowManagerName(xcb_connection_t* connection, xcb_window_t root) {
    const xcb_atom_t check = internAtom(connection, "_NET_SUPPORTING_WM_CHECK");
    const auto child = property(connection, root, check, XCB_ATOM_WINDOW);
    if (!child || child->size() != sizeof(xcb_window_t)) return {};
    xcb_window_t window = 0;
    std::memcpy(&window, child->data(), sizeof window);
    return property(connection, window, internAtom(connection, "_NET_WM_NAME"),
                    internAtom(connection, "UTF8_STRING"))
        .value_or(std::string());
}
#endif

// Before the first show no frame is known, so the window is centred by its
// client area and lands half a title bar too low. Once the window manager
// has framed it, this centres the framed window, once, and goes.
class CentreWhenFramed final : public QObject {
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
            event->type() == QEvent::Expose) {
            if (window_.frameGeometry() != window_.geometry()) {
                window_.removeEventFilter(this);
                centreOnScreen(window_);
                deleteLater();
            }
        }
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace

std::optional<std::string> openDisplay([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef PARVOLIN_X11
    // A platform the user chose (offscreen, say) is left to Qt.
    if (!environment("QT_QPA_PLATFORM").empty() || !qtOption(argc, argv, "-platform").empty())
        return std::nullopt;
    // X11 first wherever there is an X server, also under Xwayland: there
    // the window is centred and kept off the taskbar as designed, and the
    // X11 plugin is the one the program is tested and packaged with.
    const std::string option = qtOption(argc, argv, "-display");
    const std::string x11Display = option.empty() ? environment("DISPLAY") : option;
    if (!x11Display.empty()) {
        const std::string named = (option.empty() ? "DISPLAY " : "-display ") + x11Display;
        if (!x11Answers(x11Display)) return "no X server answers at " + named;
        qputenv("QT_QPA_PLATFORM", "xcb");
        return std::nullopt;
    }
    if (const std::string display = environment("WAYLAND_DISPLAY"); !display.empty()) {
        if (!waylandPluginInstalled())
            return "WAYLAND_DISPLAY is set, but Qt's Wayland plugin is not installed";
        if (!waylandAnswers(display))
            return "no Wayland compositor answers at WAYLAND_DISPLAY " + display;
        qputenv("QT_QPA_PLATFORM", "wayland");
        return std::nullopt;
    }
    return "DISPLAY is not set";
#else
    return std::nullopt;
#endif
}

bool keepsSkipTaskbarWindowsInSwitcher(std::string_view windowManager) {
    // KWin keeps a separate "skip switcher" state, and Openbox keeps dialog
    // windows in its Alt+Tab list whatever their taskbar state. Mutter (GNOME
    // Shell), Muffin (Cinnamon), Marco (MATE) and Metacity build their
    // Alt+Tab list from the windows that do not skip the taskbar, and Xfwm4
    // skips them by default; anything unknown is treated the same way, since
    // a window that cannot be switched to is lost behind the next one.
    return windowManager == "KWin" || windowManager == "Openbox";
}

// The frame's size is known only once the window manager has framed the
// window; until then the frame geometry is the window's own.
void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void hideFromTaskbar([[maybe_unused]] QWidget& window) {
#ifdef PARVOLIN_X11
    // Qt has no flag for this; the state set before mapping survives the map.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection == nullptr) return;  // offscreen and other platforms
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    if (!keepsSkipTaskbarWindowsInSwitcher(windowManagerName(connection, root))) return;
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                        state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
#endif
}

// The window icon comes from the PNGs, the sizes a window manager asks for:
// decoding all the images of the .ico cost a noticeable part of the
// start-up. A file added with its size is read only when that size is drawn;
// the large ones serve HiDPI screens and task switchers.
void describeApplication(const ProjectRecord& record) {
    QApplication::setApplicationName(fromUtf8(record.name));
    QGuiApplication::setApplicationDisplayName(fromUtf8(record.description));
    QApplication::setApplicationVersion(fromUtf8(record.version));
    QGuiApplication::setDesktopFileName(fromUtf8(record.desktopFileName));
    // The texts are English: a right-to-left session (or -reverse) must not
    // mirror them. The window fixes its own direction, but a painter takes
    // the application's, so without this the button still reads
    // "!Calculate" and the message boxes come out mirrored.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QIcon icon;
    for (int side : kIconSizes)
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(fromUtf8(record.icon)).arg(side),
                     QSize(side, side));
    QApplication::setWindowIcon(icon);
}

int showStartupForm(const ProjectRecord& record, ErrorReporter& reporter,
                    ErrorReporter& startupReporter) {
    try {
        Form form(record.startupForm, reporter);
        form.load();
        centreOnScreen(form);
        new CentreWhenFramed(form);
        hideFromTaskbar(form);
        form.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        startupReporter.report(nullptr, QStringLiteral("The window could not be opened: %1")
                                            .arg(QString::fromLocal8Bit(error.what()))
                                            .toStdString());
    } catch (...) {
        startupReporter.report(nullptr, "The window could not be opened.");
    }
    return 1;
}

}  // namespace qt

int runApplication(int argc, char** argv, const ProjectRecord& record) {
    const QString program = qt::fromUtf8(record.name).toLower();
    if (const auto reason = qt::openDisplay(argc, argv)) {
        std::fprintf(stderr, "%s: no display to open the window on (%s).\n", qPrintable(program),
                     reason->c_str());
        return 1;
    }
    QApplication application(argc, argv);
    qt::describeApplication(record);
    // Start-up failures go to standard error too, for a start from a terminal.
    struct StartupReporter final : qt::ErrorReporter {
        QString program;
        void report(QWidget* window, std::string_view message) override {
            std::fprintf(stderr, "%s: %.*s\n", qPrintable(program),
                         static_cast<int>(message.size()), message.data());
            qt::MessageBoxReporter().report(window, message);
        }
    } startupReporter;
    startupReporter.program = program;
    qt::MessageBoxReporter reporter;
    // The window's own errors are shown in message boxes; only a failure to
    // build the window reaches the start-up reporter.
    return qt::showStartupForm(record, reporter, startupReporter);
}

}  // namespace parvolin
