#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "runtime/number_text.h"
#include "test_support.h"

namespace parvolin {
namespace {

using test::bitsOf;
using test::PrintTo;
using test::rowName;

const std::string kArabicSeparator = "\xD9\xAB";  // U+066B ARABIC DECIMAL SEPARATOR

struct Accepted {
    std::string name;
    std::string text;
    std::string separator;
    double expected;
};

class TextToNumberAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(TextToNumberAccepts, GivesTheCorrectlyRoundedDouble) {
    const Accepted& row = GetParam();
    const double value = textToNumber(row.text, NumberLocale{row.separator});
    EXPECT_EQ(bitsOf(value), bitsOf(row.expected)) << value << " for \"" << row.text << '"';
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Grammar, TextToNumberAccepts, testing::Values(
    Accepted{"Integer", "70", ".", 70.0},
    Accepted{"Decimal", "1.75", ".", 1.75},
    Accepted{"LeadingPlus", "+5", ".", 5.0},
    Accepted{"Negative", "-70", ".", -70.0},
    Accepted{"NegativeZeroKeepsItsSign", "-0", ".", -0.0},
    Accepted{"TrailingSeparator", "5.", ".", 5.0},
    Accepted{"LeadingSeparator", ".5", ".", 0.5},
    Accepted{"LeadingZeros", "007.50", ".", 7.5},
    Accepted{"Exponent", "1.5e3", ".", 1500.0},
    Accepted{"UpperCaseExponentNegative", "2E-2", ".", 0.02},
    Accepted{"ExponentWithPlus", "-1e+2", ".", -100.0},
    Accepted{"SurroundingSpacesAndTabs", " \t 1.75\t ", ".", 1.75},
    Accepted{"PastedWithLineBreaks", "\r\n72\n\r\n", ".", 72.0},
    Accepted{"CommaSeparator", "1,75", ",", 1.75},
    Accepted{"MultiByteSeparator", std::string("1").append(kArabicSeparator).append("75"), kArabicSeparator, 1.75},
    Accepted{"MultiByteSeparatorWithExponent", std::string("-2").append(kArabicSeparator).append("5e1"), kArabicSeparator, -25.0}),
    rowName<Accepted>);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rounding, TextToNumberAccepts, testing::Values(
    Accepted{"OneTenth", "0.1", ".", 0.1},
    Accepted{"HalfwayTiesToEven", "9007199254740993", ".", 9007199254740992.0},
    Accepted{"JustAboveHalfwayRoundsUp", "9007199254740993.0000000000000001", ".", 9007199254740994.0},
    Accepted{"SmallestNormalNeighbour", "2.2250738585072011e-308", ".", 2.2250738585072009e-308},
    Accepted{"LargestDouble", "1.7976931348623157e308", ".", DBL_MAX},
    Accepted{"BelowOverflowHalfwayRoundsToMax", "1.7976931348623158e308", ".", DBL_MAX},
    Accepted{"Subnormal", "2e-320", ".", 2e-320},
    Accepted{"SmallestSubnormal", "4.9e-324", ".", std::numeric_limits<double>::denorm_min()},
    Accepted{"UnderflowBecomesZero", "1e-400", ".", 0.0},
    Accepted{"NegativeUnderflowBecomesNegativeZero", "-1e-400", ".", -0.0},
    Accepted{"AbsurdNegativeExponentUnderflows", "7e-99999999999999999999", ".", 0.0},
    Accepted{"ZeroWithHugeExponent", "0e999999999999", ".", 0.0},
    Accepted{"ExponentBeyondInt64Underflows", "-1e-9223372036854775808", ".", -0.0},
    Accepted{"ThirtyDigitExponentUnderflows", "-5e-" + std::string(30, '9'), ".", -0.0},
    Accepted{"HundredThousandDigitsScaledToOne",
             std::string(1, '1').append(100000, '0').append("e-100000"), ".", 1.0},
    Accepted{"HundredThousandFractionDigits",
             std::string("0.").append(99999, '0').append("1e100000"), ".", 1.0},
    Accepted{"HundredThousandThrees",
             std::string(100000, '3') + "e-99999", ".", 10.0 / 3.0}),
    rowName<Accepted>);
// clang-format on

struct Rejected {
    std::string name;
    std::string text;
    std::string separator;
    CalcErrorKind kind;
};

class TextToNumberRejects : public testing::TestWithParam<Rejected> {};

TEST_P(TextToNumberRejects, ThrowsWithTheFieldAndText) {
    const Rejected& row = GetParam();
    try {
        textToNumber(row.text, NumberLocale{row.separator}, InputField::Height);
        FAIL() << "accepted \"" << row.text << '"';
    } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), row.kind);
        EXPECT_EQ(error.field(), InputField::Height);
        EXPECT_EQ(error.text(), row.text);
    }
}

constexpr auto kInvalid = CalcErrorKind::InvalidNumber;
constexpr auto kOverflow = CalcErrorKind::Overflow;

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, TextToNumberRejects,
    testing::Values(
        Rejected{"Empty", "", ".", kInvalid}, Rejected{"BlanksOnly", " \t ", ".", kInvalid},
        Rejected{"SignOnly", "-", ".", kInvalid}, Rejected{"SeparatorOnly", ".", ".", kInvalid},
        Rejected{"TwoSeparators", "1.2.3", ".", kInvalid},
        Rejected{"GroupSeparator", "1,000", ".", kInvalid},
        Rejected{"CommaUnderPointLocale", "1,75", ".", kInvalid},
        Rejected{"PointUnderCommaLocale", "1.75", ",", kInvalid},
        Rejected{"InnerBlank", "1 000", ".", kInvalid},
        Rejected{"LineBreakInsideANumber", "7\n2", ".", kInvalid},
        Rejected{"NoBreakSpace",
                 "\xC2\xA0"
                 "5",
                 ".", kInvalid},
        Rejected{"CurrencySign", "$5", ".", kInvalid},
        Rejected{"UnitSuffix", "70kg", ".", kInvalid},
        Rejected{"Hexadecimal", "0x10", ".", kInvalid}, Rejected{"Infinity", "inf", ".", kInvalid},
        Rejected{"InfinityWord", "Infinity", ".", kInvalid},
        Rejected{"NotANumber", "nan", ".", kInvalid},
        Rejected{"ExponentWithoutMantissa", "e5", ".", kInvalid},
        Rejected{"ExponentWithoutDigits", "1e", ".", kInvalid},
        Rejected{"ExponentSignWithoutDigits", "1e+", ".", kInvalid},
        Rejected{"FractionalExponent", "1e2.5", ".", kInvalid},
        Rejected{"DoubleSign", "--1", ".", kInvalid}, Rejected{"PlusMinus", "+-1", ".", kInvalid},
        Rejected{"ArabicIndicDigit", "\xD9\xA1", ".", kInvalid},
        Rejected{"FullwidthDigit", "\xEF\xBC\x95", ".", kInvalid},
        Rejected{"EmbeddedNul",
                 std::string("1\0"
                             "2",
                             3),
                 ".", kInvalid},
        Rejected{"TruncatedMultiByteSeparator",
                 "1\xD9"
                 "75",
                 kArabicSeparator, kInvalid},
        Rejected{"PointUnderMultiByteLocale", "1.75", kArabicSeparator, kInvalid}),
    rowName<Rejected>);

INSTANTIATE_TEST_SUITE_P(
    BeyondTheDoubleRange, TextToNumberRejects,
    testing::Values(Rejected{"PositiveExponent", "1e400", ".", kOverflow},
                    Rejected{"Negative", "-1e400", ".", kOverflow},
                    Rejected{"JustPastTheLargestDouble", "1.7976931348623159e308", ".", kOverflow},
                    Rejected{"AbsurdExponent", "1e999999999999", ".", kOverflow},
                    Rejected{"ExponentBeyondInt64", "1e9223372036854775808", ".", kOverflow},
                    Rejected{"ThirtyDigitExponent", "5e" + std::string(30, '9'), ".", kOverflow},
                    Rejected{"FourHundredNines", std::string(400, '9'), ".", kOverflow},
                    Rejected{"SmallMantissaHugeExponent", "0.0000001e316", ".", kOverflow}),
    rowName<Rejected>);

struct Written {
    std::string name;
    double value;
    std::string separator;
    std::string expected;
};

class NumberToTextWrites : public testing::TestWithParam<Written> {};

TEST_P(NumberToTextWrites, FifteenSignificantDigits) {
    const Written& row = GetParam();
    EXPECT_EQ(numberToText(row.value, NumberLocale{row.separator}), row.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Positional, NumberToTextWrites, testing::Values(
    Written{"Zero", 0.0, ".", "0"},
    Written{"NegativeZero", -0.0, ".", "0"},
    Written{"Integer", 1.0, ".", "1"},
    Written{"RoundsUpTheFifteenthDigit", 22.857142857142858, ".", "22.8571428571429"},
    Written{"RoundsDownTheFifteenthDigit", 1.0 / 3.0, ".", "0.333333333333333"},
    Written{"DropsTrailingZeros", 0.30000000000000004, ".", "0.3"},
    Written{"DropsTrailingSeparator", 24.999999999999996, ".", "25"},
    Written{"Negative", -22.857142857142858, ".", "-22.8571428571429"},
    Written{"SmallestPositional", 0.0001, ".", "0.0001"},
    Written{"LargestPositional", 123456789012345.0, ".", "123456789012345"},
    Written{"CommaSeparator", 22.857142857142858, ",", "22,8571428571429"},
    Written{"MultiByteSeparator", 1.5, kArabicSeparator, std::string("1").append(kArabicSeparator).append("5")}),
    rowName<Written>);
// clang-format on

INSTANTIATE_TEST_SUITE_P(
    ExponentForm, NumberToTextWrites,
    testing::Values(Written{"BelowOneTenThousandth", 0.00001234, ".", "1.234e-05"},
                    Written{"RoundingReachesTenToTheFifteen", 999999999999999.9, ".", "1e+15"},
                    Written{"Large", 1.5e20, ".", "1.5e+20"},
                    Written{"NegativeSmallWithComma", -1.5e-7, ",", "-1,5e-07"},
                    Written{"LargestDouble", DBL_MAX, ".", "1.79769313486232e+308"},
                    Written{"SmallestSubnormal", std::numeric_limits<double>::denorm_min(), ".",
                            "4.94065645841247e-324"}),
    rowName<Written>);

}  // namespace
}  // namespace parvolin
