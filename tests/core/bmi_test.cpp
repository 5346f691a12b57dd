#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/bmi.h"
#include "test_support.h"

namespace parvolin {
namespace {

using test::bitsOf;
using test::PrintTo;
using test::rowName;

const NumberLocale kPoint{"."};
const NumberLocale kComma{","};

constexpr std::string_view kUnder = "Underweight";
constexpr std::string_view kNormal = "Generally Considered Normal Weight";
constexpr std::string_view kOver = "Generally Considered Overweight";
constexpr std::string_view kClass1 = "Obesity (Class 1) Risk of developing Health Related Problems";
constexpr std::string_view kClass2 =
    "Obesity (Class 2) High Risk of developing Health Related Problems";
constexpr std::string_view kClass3 =
    "Obesity (Class 3) Extreme Risk of developing Health Related Problems";

struct Computed {
    std::string name;
    MeasurementInput input;
    NumberLocale locale;
    double expected;
};

class ComputeBmi : public testing::TestWithParam<Computed> {};

TEST_P(ComputeBmi, GivesTheExactDouble) {
    const Computed& row = GetParam();
    const double bmi = computeBmi(row.input, row.locale);
    EXPECT_EQ(bitsOf(bmi), bitsOf(row.expected)) << bmi;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Formulas, ComputeBmi, testing::Values(
    Computed{"Metric", {"Metric", "Meters", "70", "1.75"}, kPoint, 22.857142857142858},
    // A single division by H x H would give 11.944220490310249.
    Computed{"MetricDividesTwice", {"Metric", "Meters", "40", "1.83"}, kPoint, 11.94422049031025},
    Computed{"MetricNeverReadsTheHeightUnit", {"Metric", "inches", "70", "1.75"}, kPoint, 22.857142857142858},
    Computed{"MetricNegativeWeight", {"Metric", "Meters", "-70", "1.75"}, kPoint, -22.857142857142858},
    Computed{"MetricZeroWeight", {"Metric", "Meters", "0", "1.75"}, kPoint, 0.0},
    Computed{"MetricCommaLocale", {"Metric", "Meters", "70", "1,75"}, kComma, 22.857142857142858},
    Computed{"Inches", {"Imperial", "Inches", "154", "69"}, kPoint, 22.73934047469019},
    Computed{"InchesNegativeHeightSquaresPositive", {"Imperial", "Inches", "154", "-69"}, kPoint, 22.73934047469019},
    Computed{"Feet", {"Imperial", "Feet", "154", "5.75"}, kPoint, 22.73934047469019},
    // Multiplying by 144 at once would give 21.59780075967953.
    Computed{"FeetMultipliesByTwelveTwice", {"Imperial", "Feet", "154", "5.9"}, kPoint, 21.597800759679526}),
    rowName<Computed>);
// clang-format on

struct Failed {
    std::string name;
    MeasurementInput input;
    NumberLocale locale;
    CalcErrorKind kind;
    InputField field;
    std::string text;
};

class ComputeBmiFails : public testing::TestWithParam<Failed> {};

TEST_P(ComputeBmiFails, WithTheFirstFailingStep) {
    const Failed& row = GetParam();
    try {
        const double bmi = computeBmi(row.input, row.locale);
        FAIL() << "gave " << bmi;
    } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), row.kind);
        EXPECT_EQ(error.field(), row.field);
        EXPECT_EQ(error.text(), row.text);
    }
}

using K = CalcErrorKind;
using F = InputField;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Arithmetic, ComputeBmiFails, testing::Values(
    Failed{"MetricZeroHeight", {"Metric", "Meters", "70", "0"}, kPoint, K::DivisionByZero, F::Height, "0"},
    Failed{"MetricZeroWeightAndHeight", {"Metric", "Meters", "0", "0"}, kPoint, K::InvalidOperation, F::Height, "0"},
    Failed{"MetricQuotientOverflows", {"Metric", "Meters", "1e308", "1e-10"}, kPoint, K::Overflow, F::None, ""},
    Failed{"MetricTinyHeightOverflows", {"Metric", "Meters", "70", "1e-200"}, kPoint, K::Overflow, F::None, ""},
    Failed{"InchesZeroHeight", {"Imperial", "Inches", "154", "0"}, kPoint, K::DivisionByZero, F::Height, "0"},
    Failed{"InchesHeightSquaredUnderflows", {"Imperial", "Inches", "70", "1e-200"}, kPoint, K::DivisionByZero, F::Height, "1e-200"},
    Failed{"InchesHeightSquaredOverflows", {"Imperial", "Inches", "70", "1e200"}, kPoint, K::Overflow, F::Height, "1e200"},
    Failed{"InchesZeroWeightTinyHeight", {"Imperial", "Inches", "0", "1e-200"}, kPoint, K::InvalidOperation, F::Height, "1e-200"},
    Failed{"InchesZeroWeightAndHeight", {"Imperial", "Inches", "0", "-0"}, kPoint, K::InvalidOperation, F::Height, "-0"},
    Failed{"FeetZeroHeight", {"Imperial", "Feet", "154", "0"}, kPoint, K::DivisionByZero, F::Height, "0"},
    Failed{"FeetZeroWeightAndHeight", {"Imperial", "Feet", "0", "0"}, kPoint, K::InvalidOperation, F::Height, "0"},
    Failed{"FeetTwelveFoldOverflows", {"Imperial", "Feet", "154", "1e307"}, kPoint, K::Overflow, F::Height, "1e307"},
    Failed{"FeetHeightProductOverflows", {"Imperial", "Feet", "154", "1e160"}, kPoint, K::Overflow, F::Height, "1e160"},
    // The weight factor is checked before the height text is even converted.
    Failed{"WeightFactorOverflowsBeforeHeightIsRead", {"Imperial", "Inches", "1e306", "tall"}, kPoint, K::Overflow, F::Weight, "1e306"},
    Failed{"FeetWeightFactorOverflowsFirst", {"Imperial", "Feet", "-1e306", "tall"}, kPoint, K::Overflow, F::Weight, "-1e306"}),
    rowName<Failed>);
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ComputeBmiFails, testing::Values(
    Failed{"MetricEmptyWeight", {"Metric", "Meters", "", "1.75"}, kPoint, K::InvalidNumber, F::Weight, ""},
    Failed{"WeightIsConvertedFirst", {"Metric", "Meters", "7o", "x"}, kPoint, K::InvalidNumber, F::Weight, "7o"},
    Failed{"HeightIsConvertedBeforeDividing", {"Metric", "Meters", "0", "1.7.5"}, kPoint, K::InvalidNumber, F::Height, "1.7.5"},
    Failed{"PointUnderCommaLocale", {"Metric", "Meters", "70", "1.75"}, kComma, K::InvalidNumber, F::Height, "1.75"},
    Failed{"WeightBeyondRange", {"Metric", "Meters", "1e400", "1.75"}, kPoint, K::Overflow, F::Weight, "1e400"},
    Failed{"InchesEmptyHeight", {"Imperial", "Inches", "154", ""}, kPoint, K::InvalidNumber, F::Height, ""},
    Failed{"FeetBlankWeight", {"Imperial", "Feet", "  ", "5.75"}, kPoint, K::InvalidNumber, F::Weight, "  "}),
    rowName<Failed>);
// clang-format on

// A text that names no known unit is an error, never a BMI of 0 or the metric
// formula fed with pounds and inches; and it stops before any text is converted.
// clang-format off
INSTANTIATE_TEST_SUITE_P(UnknownUnits, ComputeBmiFails, testing::Values(
    Failed{"LowerCaseImperial", {"imperial", "Inches", "154", "69"}, kPoint, K::UnknownUnit, F::Method, "imperial"},
    Failed{"ImperialWithTrailingBlank", {"Imperial ", "Inches", "154", "69"}, kPoint, K::UnknownUnit, F::Method, "Imperial "},
    Failed{"LowerCaseMetric", {"metric", "Meters", "70", "1.75"}, kPoint, K::UnknownUnit, F::Method, "metric"},
    Failed{"EmptyMethod", {"", "Meters", "", ""}, kPoint, K::UnknownUnit, F::Method, ""},
    Failed{"LowerCaseInches", {"Imperial", "inches", "", ""}, kPoint, K::UnknownUnit, F::HeightUnit, "inches"},
    Failed{"MetricUnitUnderImperial", {"Imperial", "Meters", "154", "69"}, kPoint, K::UnknownUnit, F::HeightUnit, "Meters"},
    Failed{"EmptyHeightUnit", {"Imperial", "", "x", "y"}, kPoint, K::UnknownUnit, F::HeightUnit, ""}),
    rowName<Failed>);
// clang-format on

struct Classified {
    std::string name;
    double bmi;
    std::string_view expected;
};

class ClassifyBmi : public testing::TestWithParam<Classified> {};

TEST_P(ClassifyBmi, FollowsTheUnroundedValue) {
    EXPECT_EQ(classifyBmi(GetParam().bmi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, ClassifyBmi,
    testing::Values(Classified{"Negative", -22.857142857142858, kUnder},
                    Classified{"Zero", 0.0, kUnder},
                    Classified{"ExactlyEighteenAndAHalf", 18.5, kUnder},
                    Classified{"JustAboveEighteenAndAHalf", std::nextafter(18.5, 19.0), kNormal},
                    Classified{"SixtyKilosAtOnePointEight", 18.51851851851852, kNormal},
                    Classified{"LargestBelowTwentyFive", 24.999999999999996, kNormal},
                    Classified{"ExactlyTwentyFive", 25.0, kOver},
                    Classified{"JustBelowThirty", std::nextafter(30.0, 0.0), kOver},
                    Classified{"ExactlyThirty", 30.0, kClass1},
                    Classified{"ExactlyThirtyFive", 35.0, kClass2},
                    Classified{"JustBelowForty", std::nextafter(40.0, 0.0), kClass2},
                    Classified{"ExactlyForty", 40.0, kClass3}, Classified{"Huge", 1e300, kClass3}),
    rowName<Classified>);

struct Pressed {
    std::string name;
    MeasurementInput input;
    std::string bmiText;
    std::string_view statusText;
};

class ComputeResult : public testing::TestWithParam<Pressed> {};

TEST_P(ComputeResult, FormatsAndClassifiesTheSameValue) {
    const Pressed& row = GetParam();
    const CalcResult result = computeResult(row.input, kPoint);
    EXPECT_EQ(result.bmiText, row.bmiText);
    EXPECT_EQ(result.statusText, row.statusText);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, ComputeResult,
    testing::Values(
        Pressed{"Metric", {"Metric", "Meters", "70", "1.75"}, "22.8571428571429", kNormal},
        Pressed{"Inches", {"Imperial", "Inches", "154", "69"}, "22.7393404746902", kNormal},
        Pressed{"SixtyKilos", {"Metric", "Meters", "60", "1.8"}, "18.5185185185185", kNormal},
        Pressed{"ExactlyEighteenAndAHalf", {"Metric", "Meters", "18.5", "1"}, "18.5", kUnder},
        Pressed{"ZeroWeight", {"Metric", "Meters", "0", "1.8"}, "0", kUnder},
        Pressed{"Overweight", {"Imperial", "Feet", "200", "5.9"}, "28.0490918956877", kOver}),
    rowName<Pressed>);

TEST(FormatBmi, ShowsTwentyFiveWhileTheStatusStaysNormal) {
    constexpr double largestBelow25 = 24.999999999999996;
    EXPECT_EQ(formatBmi(largestBelow25, kPoint), "25");
    EXPECT_EQ(classifyBmi(largestBelow25), kNormal);
}

}  // namespace
}  // namespace parvolin
