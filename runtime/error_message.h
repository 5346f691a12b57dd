#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/calc_error.h"
#include "runtime/number_text.h"

namespace parvolin {

// The message the user reads for a failed calculation: what is wrong and in
// which box, in plain words. Typed texts are quoted through quotableText.
std::string errorMessage(const CalcError& error, const NumberLocale& locale);

// The message for a failure that is not the calculation's (a control call);
// `detail` is the exception's own description.
std::string unexpectedErrorMessage(std::string_view detail);

// A typed text made fit to quote in a message: at most `maxCharacters` code
// points (then "…"), with tabs and line breaks shown as spaces and other
// control characters, bidirectional overrides and invalid UTF-8 shown as
// U+FFFD, so that a pasted text can neither flood the box nor reorder it.
std::string quotableText(std::string_view text, std::size_t maxCharacters = 40);

}  // namespace parvolin
