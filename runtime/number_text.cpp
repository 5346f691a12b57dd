#include "runtime/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace parvolin {
namespace {

// Line breaks count as blanks around a number: a number copied from a
// spreadsheet cell or a line of text brings one along.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A text that matched the grammar, rewritten in the one form std::from_chars
// reads: "-"? digits ("." digits)? ("e" "-"? digits)?.
struct ScannedNumber {
    std::string ascii;
    bool negative = false;
    // Decimal magnitude: the value lies in [10^(m-1), 10^m). Only meaningful
    // for a non-zero mantissa; kept saturated so that absurd exponents cannot
    // overflow it.
    std::int64_t magnitude = 0;
};

// Exponents beyond this are far outside any double, whatever the mantissa;
// saturating there keeps the magnitude arithmetic inside int64.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 40;

bool scan(std::string_view text, std::string_view separator, ScannedNumber& out) {
    std::size_t pos = 0;
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    auto atEnd = [&] { return pos >= text.size(); };

    if (at(pos) == '+' || at(pos) == '-') {
        out.negative = at(pos) == '-';
        if (out.negative) out.ascii += '-';
        ++pos;
    }

    std::int64_t integerDigits = 0;  // significant digits before the separator
    std::int64_t leadingZeros = 0;   // zeros after the separator before the first non-zero
    bool seenNonZero = false;
    bool seenSeparator = false;
    std::size_t digits = 0;
    while (!atEnd()) {
        const char c = text[pos];
        if (isDigit(c)) {
            out.ascii += c;
            ++digits;
            if (c != '0') seenNonZero = true;
            if (!seenSeparator && seenNonZero) ++integerDigits;
            if (seenSeparator && !seenNonZero) ++leadingZeros;
            ++pos;
        } else if (!seenSeparator && text.substr(pos, separator.size()) == separator) {
            out.ascii += '.';
            seenSeparator = true;
            pos += separator.size();
        } else {
            break;
        }
    }
    if (digits == 0) return false;

    std::int64_t exponent = 0;
    if (at(pos) == 'e' || at(pos) == 'E') {
        out.ascii += 'e';
        ++pos;
        bool negativeExponent = false;
        if (at(pos) == '+' || at(pos) == '-') {
            negativeExponent = at(pos) == '-';
            if (negativeExponent) out.ascii += '-';
            ++pos;
        }
        std::size_t exponentDigits = 0;
        while (!atEnd() && isDigit(text[pos])) {
            out.ascii += text[pos];
            exponent = std::min(exponent * 10 + (text[pos] - '0'), kExponentLimit);
            ++exponentDigits;
            ++pos;
        }
        if (exponentDigits == 0) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (!atEnd()) return false;

    out.magnitude = (integerDigits > 0 ? integerDigits : -leadingZeros) + exponent;
    return true;
}

}  // namespace

double textToNumber(std::string_view text, const NumberLocale& locale, InputField field) {
    ScannedNumber number;
    if (!scan(trimBlanks(text), locale.decimalSeparator, number))
        throw CalcError(CalcErrorKind::InvalidNumber, field, text);

    double value = 0.0;
    const char* first = number.ascii.data();
    const char* last = first + number.ascii.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports both directions alike and leaves the value alone:
        // a large magnitude overflowed, a small one underflowed to zero.
        if (number.magnitude > 0) throw CalcError(CalcErrorKind::Overflow, field, text);
        return number.negative ? -0.0 : 0.0;
    }
    if (ec != std::errc{} || end != last)
        throw CalcError(CalcErrorKind::InvalidNumber, field, text);
    return value;
}

std::string numberToText(double value, const NumberLocale& locale) {
    if (value == 0.0) return "0";  // also -0, which the user has no use for
    // 15 significant digits in %g's shape: positional from 1e-4 to below 1e15.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text;
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.')
            text += locale.decimalSeparator;
        else
            text += *p;
    }
    return text;
}

}  // namespace parvolin
