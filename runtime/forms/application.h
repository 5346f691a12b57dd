#pragma once

#include <QLocale>
#include <QString>
#include <functional>
#include <memory>

#include "runtime/forms/form.h"

namespace parvolin {

// What the program hands to runApplication: who it is and what to start.
struct ProjectRecord {
    QString name;
    QString description;      // the name desktops show for the application
    QString version;
    QString desktopFileName;  // the application id, for the desktop to match launcher and window
    QString iconPath;         // a Qt resource path
    // The language the window's own texts are written in; numbers still follow
    // the user's locale.
    QLocale language;
    std::function<std::unique_ptr<Form>(ErrorReporter&)> startupForm;
};

// Starts the program: creates the start-up form, runs its load handler, shows
// it centred on the screen and runs the event loop until the last window
// closes. Returns the exit status; 1 without a display to open a window on.
int runApplication(int argc, char** argv, const ProjectRecord& record);

// Centres a top-level window on the available area of its screen.
void centreOnScreen(QWidget& window);

// Keeps a top-level window off the taskbar where the window system allows it
// (on X11, _NET_WM_STATE_SKIP_TASKBAR). Call before the window is first shown.
void hideFromTaskbar(QWidget& window);

}  // namespace parvolin
