#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runtime/forms/form_design.h"

namespace parvolin {

class FormControls;

// Shows the user the error that ended a handler (UTF-8), in a message box
// modal to `window`, the toolkit's own window (an HWND, a QWidget*); a null
// window when there is none yet. Each front-end has one that shows message
// boxes; the tests record instead.
template <typename Window>
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(Window window, std::string_view message) = 0;
};

// The two steps of a failure that need the toolkit; each front-end's window
// provides them.
class FailureSteps {
public:
    // Tells the user, through the window's ErrorReporter.
    virtual void showError(std::string_view message) = 0;
    // Gives the named box the focus with its whole text selected, so that
    // typing replaces it.
    virtual void focusWithTextSelected(std::string_view box) = 0;

protected:
    ~FailureSteps() = default;
};

// What the user is told when a handler fails, and the box to correct.
struct HandlerFailure {
    std::string message;             // empty when even wording it failed: nothing to show
    std::string_view correctionBox;  // empty: leave the focus where it is
};

// Runs a handler inside the error frame: whatever it throws ends it there and
// comes back as the failure to report. Never throws.
std::optional<HandlerFailure> runHandler(Handler handler, FormControls& form,
                                         const FormDesign& design) noexcept;

// Runs a handler inside the error frame and takes the user through its
// failure, the same in every window: the message, then the box to correct
// with its text selected. Throws only what the window's steps throw (the
// report itself failing); the caller's boundary with the toolkit catches that.
// Returns whether the handler ran to its end.
bool runHandlerReportingFailure(Handler handler, FormControls& form, FailureSteps& window,
                                const FormDesign& design);

}  // namespace parvolin
