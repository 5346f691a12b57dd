#pragma once

#include <QWidget>

#include "runtime/forms/application.h"

namespace parvolin::qt {

// Centres a top-level window on the available area of its screen.
void centreOnScreen(QWidget& window);

// Keeps a top-level window off the taskbar where the window system allows it
// (on X11, _NET_WM_STATE_SKIP_TASKBAR). Call before the window is first shown.
void hideFromTaskbar(QWidget& window);

// Gives the running QApplication the record's names and window icon.
void describeApplication(const ProjectRecord& record);

}  // namespace parvolin::qt
