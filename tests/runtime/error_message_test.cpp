#include <gtest/gtest.h>

#include <string>

#include "runtime/error_message.h"
#include "test_support.h"

namespace parvolin {
namespace {

using test::PrintTo;
using test::rowName;

struct Worded {
    std::string name;
    CalcError error;
    std::string separator;
    std::string expected;
};

class ErrorMessage : public testing::TestWithParam<Worded> {};

TEST_P(ErrorMessage, NamesTheBoxInPlainWords) {
    const Worded& row = GetParam();
    EXPECT_EQ(errorMessage(row.error, NumberLocale{row.separator}), row.expected);
}

using K = CalcErrorKind;
using F = InputField;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, ErrorMessage, testing::Values(
    Worded{"WeightNotANumber", CalcError(K::InvalidNumber, F::Weight, "7o"), ".",
           "The weight \"7o\" is not a number. Type digits, with \".\" as the decimal separator."},
    Worded{"HeightUnderCommaLocale", CalcError(K::InvalidNumber, F::Height, "1.75"), ",",
           "The height \"1.75\" is not a number. Type digits, with \",\" as the decimal separator."},
    Worded{"EmptyWeight", CalcError(K::InvalidNumber, F::Weight, ""), ".",
           "The weight box is empty. Type the weight as a number."},
    Worded{"BlankHeight", CalcError(K::InvalidNumber, F::Height, " \t"), ".",
           "The height box is empty. Type the height as a number."},
    Worded{"HeightBeyondRange", CalcError(K::Overflow, F::Height, "1e999"), ".",
           "The height \"1e999\" is too large."},
    Worded{"QuotientOverflow", CalcError(K::Overflow), ".",
           "The BMI is too large to compute. Check the weight and the height."},
    Worded{"TypedZeroHeight", CalcError(K::DivisionByZero, F::Height, "-0.00"), ".",
           "The height must not be zero."},
    Worded{"HeightTooSmallToDivideBy", CalcError(K::DivisionByZero, F::Height, "1e-200"), ".",
           "The height \"1e-200\" is too small to compute a BMI."},
    Worded{"HeightUnderflowedToZero", CalcError(K::DivisionByZero, F::Height, "1e-400"), ".",
           "The height \"1e-400\" is too small to compute a BMI."},
    Worded{"ZeroByZero", CalcError(K::InvalidOperation, F::Height, "0e5"), ".",
           "Weight and height must not both be zero."},
    Worded{"ZeroWeightByTinyHeight", CalcError(K::InvalidOperation, F::Height, "1e-200"), ".",
           "The height \"1e-200\" is too small to compute a BMI."},
    Worded{"UnknownHeightUnit", CalcError(K::UnknownUnit, F::HeightUnit, "inches"), ".",
           "Unknown height unit \"inches\": choose Feet or Inches."},
    Worded{"UnknownUnitSystem", CalcError(K::UnknownUnit, F::Method, "imperial"), ".",
           "Unknown unit system \"imperial\": choose Imperial or Metric."}),
    rowName<Worded>);
// clang-format on

struct Quoted {
    std::string name;
    std::string text;
    std::string expected;
};

class QuotableText : public testing::TestWithParam<Quoted> {};

TEST_P(QuotableText, IsShortAndHarmless) {
    EXPECT_EQ(quotableText(GetParam().text, 5), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, QuotableText, testing::Values(
    Quoted{"ShortStaysAsItIs", "1.75", "1.75"},
    Quoted{"ExactlyTheLimit", "12345", "12345"},
    Quoted{"LongIsCut", "123456", "12345\xE2\x80\xA6"},
    Quoted{"CutCountsCharactersNotBytes", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
           "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xE2\x80\xA6"},
    Quoted{"EmojiIsOneCharacter", "\xF0\x9F\x98\x80" "1", "\xF0\x9F\x98\x80" "1"},
    Quoted{"LineBreaksAndTabsBecomeSpaces", "1\r\n2\t", "1  2 "},
    Quoted{"NulIsShownAsReplacement", std::string("1\0" "2", 3), "1\xEF\xBF\xBD" "2"},
    Quoted{"RightToLeftMarkIsShownAsReplacement", "\xE2\x80\x8F" "12", "\xEF\xBF\xBD" "12"},
    Quoted{"BidiOverrideIsShownAsReplacement", "\xE2\x80\xAE" "12", "\xEF\xBF\xBD" "12"},
    Quoted{"InvalidUtf8IsShownAsReplacement", "\xFF" "1", "\xEF\xBF\xBD" "1"},
    Quoted{"LeadBeyondF4IsNoThreeByteCharacter", "\xF8\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    Quoted{"OverlongSequenceIsShownAsReplacement", "\xE0\x80\xBC", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    Quoted{"TruncatedSequenceIsShownAsReplacement", "1\xE2\x82", "1\xEF\xBF\xBD\xEF\xBF\xBD"},
    Quoted{"EncodedSurrogateIsShownAsReplacement", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    Quoted{"BeyondU10FFFFIsShownAsReplacement", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}),
    rowName<Quoted>);
// clang-format on

TEST(ErrorMessage, QuotesAThirtyThousandCharacterTextShortened) {
    const std::string message = errorMessage(
        CalcError(K::InvalidNumber, F::Weight, std::string(30000, '9')), NumberLocale{});
    EXPECT_EQ(
        message,
        "The weight \"" + std::string(40, '9') +
            "\xE2\x80\xA6\" is not a number. Type digits, with \".\" as the decimal separator.");
}

}  // namespace
}  // namespace parvolin
