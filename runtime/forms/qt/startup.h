#pragma once

#include <QIcon>
#include <QMargins>
#include <array>

#include "runtime/forms/application.h"
#include "runtime/forms/qt/form.h"

namespace parvolin::qt {

// The sizes of the window icon's PNGs among the resources, in pixels.
inline constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};

// Centres a top-level window, framed by `frame` (by default the frame Qt
// knows of), on the available area of its screen; a window taller or wider
// than that area keeps its title bar and left edge on it.
void centreOnScreen(QWidget& window, QMargins frame = {});

// Gives the running QApplication the record's names and the left-to-right
// direction of its English texts.
void describeApplication(const ProjectRecord& record);

// The record's window icon, from its PNGs; the start-up form sets it for
// the application once it has first been drawn.
QIcon windowIcon(const ProjectRecord& record);

// Builds, loads, centres and shows the record's start-up form, and runs the
// event loop until it closes; returns the exit status. The window reports
// its errors to `reporter`. If the window cannot be built at all, the
// failure goes to `startupReporter` and the status is 1.
int showStartupForm(const ProjectRecord& record, ErrorReporter& reporter,
                    ErrorReporter& startupReporter);

}  // namespace parvolin::qt
