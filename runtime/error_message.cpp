#include "runtime/error_message.h"

#include <cstdint>

#include "runtime/utf8.h"

namespace parvolin {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";     // U+2026

bool isLineOrTab(std::int32_t c) { return c == '\t' || c == '\n' || c == '\r'; }

bool isHidden(std::int32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::string quoted(std::string_view text) {
    std::string result(1, '"');
    result += quotableText(text);
    result += '"';
    return result;
}

bool isBlankText(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view boxName(InputField field) {
    switch (field) {
    case InputField::Weight: return "weight";
    case InputField::Height: return "height";
    case InputField::HeightUnit: return "height unit";
    case InputField::Method: return "unit system";
    case InputField::None: break;
    }
    return "input";
}

// Whether a number's text is a zero as typed ("0", "-0.00", "0e5"), rather
// than a non-zero number too small for a double ("1e-400").
bool typesZero(std::string_view number) {
    const std::string_view mantissa = number.substr(0, number.find_first_of("eE"));
    return mantissa.find_first_of("123456789") == std::string_view::npos;
}

std::string notANumber(const CalcError& error, const NumberLocale& locale) {
    const std::string box(boxName(error.field()));
    if (isBlankText(error.text()))
        return "The " + box + " box is empty. Type the " + box + " as a number.";
    return "The " + box + " " + quoted(error.text()) + " is not a number. Type digits, with \"" +
           locale.decimalSeparator + "\" as the decimal separator.";
}

}  // namespace

std::string quotableText(std::string_view text, std::size_t maxCharacters) {
    std::string result;
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == maxCharacters) return result + std::string(kEllipsis);
        const auto [codePoint, length] = decodeUtf8(text);
        if (codePoint >= 0 && isLineOrTab(codePoint))
            result += ' ';
        else if (codePoint < 0 || isHidden(codePoint))
            result += kReplacement;
        else
            result += text.substr(0, length);
        text.remove_prefix(length);
        ++characters;
    }
    return result;
}

std::string errorMessage(const CalcError& error, const NumberLocale& locale) {
    switch (error.kind()) {
    case CalcErrorKind::InvalidNumber: return notANumber(error, locale);
    case CalcErrorKind::Overflow:
        if (error.field() == InputField::None)
            return "The BMI is too large to compute. Check the weight and the height.";
        return "The " + std::string(boxName(error.field())) + " " + quoted(error.text()) +
               " is too large.";
    // Both come from dividing by the height: a typed zero, or a height so
    // small that it, or its square, is zero as a double.
    case CalcErrorKind::DivisionByZero:
    case CalcErrorKind::InvalidOperation:
        if (!typesZero(error.text()))
            return "The height " + quoted(error.text()) + " is too small to compute a BMI.";
        return error.kind() == CalcErrorKind::DivisionByZero
                   ? "The height must not be zero."
                   : "Weight and height must not both be zero.";
    case CalcErrorKind::UnknownUnit:
        if (error.field() == InputField::Method)
            return "Unknown unit system " + quoted(error.text()) + ": choose Imperial or Metric.";
        return "Unknown height unit " + quoted(error.text()) + ": choose Feet or Inches.";
    }
    return unexpectedErrorMessage(error.what());
}

std::string unexpectedErrorMessage(std::string_view detail) {
    return "Something went wrong: " + quotableText(detail, 200) + ".";
}

}  // namespace parvolin
