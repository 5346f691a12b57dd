#pragma once

#include <string>
#include <string_view>

#include "runtime/calc_error.h"

namespace parvolin {

// The user's number conventions. The separator is UTF-8 and may be several bytes
// long; it must not be empty and must not start with a digit, a sign, 'e', 'E',
// a space or a tab.
struct NumberLocale {
    std::string decimalSeparator = ".";
};

// Converts a typed text to a double, the same way in every process locale.
//
// Accepted, and nothing else:
//   blanks* sign? mantissa exponent? blanks*
//   blanks   : space, tab, carriage return or line feed
//   sign     : '+' or '-'
//   mantissa : ASCII digits with at most one decimal separator (the locale's),
//              at least one digit in all ("5", "5.", ".5")
//   exponent : 'e' or 'E', an optional sign, at least one digit
// Group separators, currency signs, hexadecimal, "inf", "nan", inner blanks
// (a line break inside a number included),
// non-ASCII digits and NUL bytes are rejected, so a "1,75" typed under a '.'
// locale can never silently become 175.
//
// The result is the correctly rounded double for texts of any length. A value
// beyond the double range throws Overflow; a value too small for a double
// becomes a subnormal or a zero of the text's sign, without error. Anything
// not accepted throws InvalidNumber. Errors carry `field` and the text.
double textToNumber(std::string_view text, const NumberLocale& locale,
                    InputField field = InputField::None);

// Writes a double as the window shows it: at most 15 significant digits rounded
// to nearest, no trailing zeros and no trailing separator, the locale's
// separator, '-' before a negative value, and both 0 and -0 as "0".
// Magnitudes from 0.0001 up to below 1e15 (after rounding to 15 digits) are
// written positionally; others in exponent form: the mantissa as above, then
// 'e', the exponent's sign and at least two digits ("1.5e+20", "-2e-05").
// Non-finite values, which no checked calculation produces, are written "inf",
// "-inf" and "nan".
std::string numberToText(double value, const NumberLocale& locale);

}  // namespace parvolin
