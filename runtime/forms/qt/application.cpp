#include "runtime/forms/qt/application.h"

#include "runtime/forms/qt/form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#if __has_include(<xcb/xcb.h>) && defined(PARVOLIN_HAVE_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define PARVOLIN_X11 1
#endif

namespace parvolin {
namespace qt {
namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt aborts when it finds no display; say so plainly instead.
bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

#ifdef PARVOLIN_X11
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}
#endif

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

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
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) return;
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                        state, XCB_ATOM_ATOM, 32, 1, &skipTaskbar);
    xcb_flush(connection);
#endif
}

// The window icon comes from the small PNGs, the sizes a window manager asks
// for: decoding all thirteen images of the .ico cost a noticeable part of the
// start-up. A file added with its size is read only when that size is drawn.
void describeApplication(const ProjectRecord& record) {
    QApplication::setApplicationName(fromUtf8(record.name));
    QGuiApplication::setApplicationDisplayName(fromUtf8(record.description));
    QApplication::setApplicationVersion(fromUtf8(record.version));
    QGuiApplication::setDesktopFileName(fromUtf8(record.desktopFileName));
    QIcon icon;
    for (int side : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(fromUtf8(record.icon)).arg(side),
                     QSize(side, side));
    QApplication::setWindowIcon(icon);
}

}  // namespace qt

int runApplication(int argc, char** argv, const ProjectRecord& record) {
    if (!qt::displayAvailable()) {
        std::fprintf(stderr, "%s: no display to open the window on (DISPLAY is not set).\n",
                     qPrintable(qt::fromUtf8(record.name).toLower()));
        return 1;
    }
    QApplication application(argc, argv);
    qt::describeApplication(record);

    qt::MessageBoxReporter reporter;
    qt::Form form(record.startupForm, reporter);
    form.setLocale(QLocale(qt::fromUtf8(record.language)));
    form.load();
    qt::centreOnScreen(form);
    qt::hideFromTaskbar(form);
    form.show();
    return QApplication::exec();
}

}  // namespace parvolin
