// numberToText for any finite double: the text reads back (with textToNumber)
// as the value rounded to 15 significant digits, uses the locale's separator,
// and never ends in the separator or in a 0 after it. Doubles within half a
// unit of the 15th digit of the largest double round to a text beyond the
// double range (1.79769313486232e+308): that text must read back as Overflow.
#include <cmath>
#include <cstring>

#include "fuzz_support.h"

using namespace parvolin;
using parvolin::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const NumberLocale locale = fuzz::consumeLocale(input);
    std::uint64_t bits = input.ConsumeIntegral<std::uint64_t>();
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) return 0;

    const std::string text = numberToText(value, locale);
    const std::string& separator = locale.decimalSeparator;

    // The 15-digit rounding, worked out by the C library instead.
    char rounded[64];
    std::snprintf(rounded, sizeof rounded, "%.15g", value);
    const double expected = std::strtod(rounded, nullptr);
    if (std::isinf(expected)) {
        try {
            textToNumber(text, locale);
            fuzz::fail("\"" + text + "\" read back although beyond the double range");
        } catch (const CalcError& error) {
            require(error.kind() == CalcErrorKind::Overflow,
                    "not Overflow beyond the range: " + text);
        }
        return 0;
    }
    const double back = textToNumber(text, locale);  // throws, and so fails, if unreadable
    require(back == expected, "\"" + text + "\" does not read back as " + rounded);
    require(text != "-0", "negative zero shown with its sign");

    const std::size_t at = text.find(separator);
    if (separator != ".")
        require(text.find('.') == std::string::npos, "a '.' under another separator: " + text);
    if (at != std::string::npos) {
        const std::size_t end = std::min(text.find('e'), text.size());
        const std::string_view fraction(text.data() + at + separator.size(),
                                        end - at - separator.size());
        require(!fraction.empty(), "ends in the separator: " + text);
        require(fraction.back() != '0', "a trailing zero after the separator: " + text);
    }
    return 0;
}
