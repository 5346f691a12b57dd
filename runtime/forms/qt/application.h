#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/forms/application.h"
#include "runtime/forms/qt/form.h"

namespace parvolin::qt {

// The sizes of the window icon's PNGs among the resources, in pixels.
inline constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};

// Picks the window system to open the window on, before Qt is started: X11
// wherever an X server answers at DISPLAY, else Wayland where a compositor
// answers and Qt's Wayland plugin is installed. A platform the user chose
// (QT_QPA_PLATFORM or -platform) is left to Qt, and a -display option stands
// for DISPLAY, as Qt reads them. Returns why no window can be opened, if none can.
std::optional<std::string> openDisplay(int argc, char** argv);

// Whether the window manager of this name (its _NET_WM_NAME) still lists a
// window that skips the taskbar in its task switcher. Where it does not, the
// no-taskbar hint would leave no way back to a covered window.
bool keepsSkipTaskbarWindowsInSwitcher(std::string_view windowManager);

// Centres a top-level window (its frame, once it has one) on the available
// area of its screen.
void centreOnScreen(QWidget& window);

// Keeps a top-level window off the taskbar (on X11,
// _NET_WM_STATE_SKIP_TASKBAR) where the running window manager still lets
// the user switch to it. Call before the window is first shown.
void hideFromTaskbar(QWidget& window);

// Gives the running QApplication the record's names, window icon and the
// left-to-right direction of its English texts.
void describeApplication(const ProjectRecord& record);

// Builds, loads, centres and shows the record's start-up form, and runs the
// event loop until it closes; returns the exit status. The window reports
// its errors to `reporter`. If the window cannot be built at all, the
// failure goes to `startupReporter` and the status is 1.
int showStartupForm(const ProjectRecord& record, ErrorReporter& reporter,
                    ErrorReporter& startupReporter);

}  // namespace parvolin::qt
