#pragma once

#include <string>
#include <string_view>

#include "runtime/calc_error.h"
#include "runtime/float_status.h"
#include "runtime/number_text.h"

namespace parvolin {

// The texts read from the window for one calculation, exactly as the controls
// hold them (UTF-8, no trimming, no case folding). The weight unit is not part
// of it: the weight unit follows from the unit system alone.
struct MeasurementInput {
    std::string method;      // Combo1
    std::string heightUnit;  // Combo3
    std::string weight;      // Text1
    std::string height;      // Text2
};

enum class UnitSystem { Imperial, Metric };

// The two output texts of one calculation.
struct CalcResult {
    std::string bmiText;     // for Text4
    std::string statusText;  // for Text3
};

// The unit system a method text names: exactly "Imperial" or exactly "Metric"
// (case-sensitive, whole text). Any other text throws UnknownUnit concerning
// the method: a typed "imperial" must not be read as metric.
UnitSystem unitSystemOf(std::string_view methodText);

// The body mass index of one input.
//   Imperial, "Inches": (W x 703) / (H x H)
//   Imperial, "Feet":   (W x 703) / (H x ((H x 12) x 12))
//   Metric:             (W / H) / H, metres; the height unit is not read
// W and H are converted from the texts with textToNumber. The order of the
// steps and of the checks is fixed (see bmi.cpp): it decides which error wins
// and the last bit of the result. There is no range check: zero, negative and
// implausible values compute like any others.
// Throws CalcError: UnknownUnit for an unknown method or, in the Imperial
// system, a height unit other than exactly "Inches" or "Feet" (before any text
// is converted); InvalidNumber or Overflow for a text, concerning that text;
// DivisionByZero, InvalidOperation or Overflow for an arithmetic step.
double computeBmi(const MeasurementInput& input, const NumberLocale& locale);

// The BMI as Text4 shows it: numberToText.
std::string formatBmi(double bmi, const NumberLocale& locale);

// The weight status of an unrounded BMI value:
//   bmi <= 18.5 "Underweight"; < 25 "Generally Considered Normal Weight";
//   < 30 "Generally Considered Overweight"; < 35, < 40 and otherwise the three
//   obesity classes.
std::string_view classifyBmi(double bmi);

// One press of "Calculate!": computeBmi, then formatBmi and classifyBmi of the
// same value. Throws what computeBmi throws.
CalcResult computeResult(const MeasurementInput& input, const NumberLocale& locale);

}  // namespace parvolin
