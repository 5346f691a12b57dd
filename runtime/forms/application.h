#pragma once

#include <string_view>

#include "runtime/forms/form_design.h"

namespace parvolin {

// What the program hands to runApplication: who it is and what to start.
struct ProjectRecord {
    std::string_view name;
    std::string_view description;  // the name desktops show for the application
    std::string_view version;
    std::string_view
        desktopFileName;  // the application id, for the desktop to match launcher and window
    // The icon's name among the program's resources: on Windows the .ico
    // resource, with Qt the PNGs :/icons/NAME-16.png up to -256.
    std::string_view icon;
    const FormDesign& startupForm;
};

// Starts the program: creates the start-up form, runs its load handler, shows
// it centred on the screen and runs the event loop until the window closes.
// Returns the exit status: 0 when the window was closed, 1 when no window
// could be opened (no display, say), after saying why where the user sees
// it: on standard error with Qt, in a message box on Windows.
// Each toolkit's runtime defines it; a build links exactly one.
int runApplication(int argc, char** argv, const ProjectRecord& record);

}  // namespace parvolin
