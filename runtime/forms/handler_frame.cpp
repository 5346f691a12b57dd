#include "runtime/forms/handler_frame.h"

#include <exception>

#include "runtime/error_message.h"
#include "runtime/forms/form_controls.h"

namespace parvolin {

std::optional<HandlerFailure> runHandler(Handler handler, FormControls& form,
                                         const FormDesign& design) noexcept {
    try {
        try {
            handler(form);
            return std::nullopt;
        } catch (const CalcError& error) {
            return HandlerFailure{errorMessage(error, form.numberLocale()),
                                  design.correction.of(error.field())};
        } catch (const std::exception& error) {
            return HandlerFailure{unexpectedErrorMessage(error.what()), {}};
        } catch (...) {
            return HandlerFailure{unexpectedErrorMessage("unknown error"), {}};
        }
    } catch (...) {
        // Wording the message failed too (out of memory, say): the handler has
        // ended and the window stays usable, which is all that is left to keep.
        return HandlerFailure{{}, {}};
    }
}

bool runHandlerReportingFailure(Handler handler, FormControls& form, FailureSteps& window,
                                const FormDesign& design) {
    const auto failure = runHandler(handler, form, design);
    if (!failure) return true;
    if (failure->message.empty()) return false;
    window.showError(failure->message);
    if (!failure->correctionBox.empty()) window.focusWithTextSelected(failure->correctionBox);
    return false;
}

}  // namespace parvolin
