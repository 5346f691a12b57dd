#include "runtime/forms/application.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if __has_include(<xcb/xcb.h>) && defined(PARVOLIN_HAVE_XCB)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#define PARVOLIN_X11 1
#endif

namespace parvolin {
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

int runApplication(int argc, char** argv, const ProjectRecord& record) {
    if (!displayAvailable()) {
        std::fprintf(stderr, "%s: no display to open the window on (DISPLAY is not set).\n",
                     qPrintable(record.name.toLower()));
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(record.name);
    QGuiApplication::setApplicationDisplayName(record.description);
    QApplication::setApplicationVersion(record.version);
    QGuiApplication::setDesktopFileName(record.desktopFileName);
    QApplication::setWindowIcon(QIcon(record.iconPath));

    MessageBoxReporter reporter;
    const std::unique_ptr<Form> form = record.startupForm(reporter);
    form->setLocale(record.language);
    form->load();
    centreOnScreen(*form);
    hideFromTaskbar(*form);
    form->show();
    return QApplication::exec();
}

}  // namespace parvolin
