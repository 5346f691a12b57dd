#include "core/bmi.h"

namespace parvolin {
namespace {

constexpr double kPoundsInchesFactor = 703.0;
constexpr double kInchesPerFoot = 12.0;

enum class HeightUnit { Inches, Feet };

HeightUnit imperialHeightUnitOf(std::string_view text) {
    if (text == "Inches") return HeightUnit::Inches;
    if (text == "Feet") return HeightUnit::Feet;
    throw CalcError(CalcErrorKind::UnknownUnit, InputField::HeightUnit, text);
}

// Reads the texts on demand: each factor converts its text again, so the
// conversions happen exactly where the formulas use them.
struct Reader {
    const MeasurementInput& input;
    const NumberLocale& locale;
    double weight() const { return textToNumber(input.weight, locale, InputField::Weight); }
    double height() const { return textToNumber(input.height, locale, InputField::Height); }
};

// Each check names the input its steps worked on, so that the user is told
// which box to correct: a product beyond range means that input is too large,
// a failed division by the height means the height is zero or too small.
// The extra checks after the height's own products change no result and no
// error kind: an overflow there can only end as that same Overflow.
double inchesBmi(const Reader& read) {
    FloatStatus status;
    const double weightFactor = status.multiply(read.weight(), kPoundsInchesFactor);
    status.check(InputField::Weight, read.input.weight);
    const double h1 = read.height();
    const double h2 = read.height();
    const double heightSquared = status.multiply(h1, h2);
    status.check(InputField::Height, read.input.height);
    const double bmi = status.divide(weightFactor, heightSquared);
    status.checkDivisionBy(InputField::Height, read.input.height);
    return bmi;
}

double feetBmi(const Reader& read) {
    FloatStatus status;
    const double weightFactor = status.multiply(read.weight(), kPoundsInchesFactor);
    status.check(InputField::Weight, read.input.weight);
    // Twelve twice, not 144: the rounding of each step is part of the result.
    const double inches =
        status.multiply(status.multiply(read.height(), kInchesPerFoot), kInchesPerFoot);
    status.check(InputField::Height, read.input.height);
    const double divisor = status.multiply(read.height(), inches);
    status.check(InputField::Height, read.input.height);
    const double bmi = status.divide(weightFactor, divisor);
    status.checkDivisionBy(InputField::Height, read.input.height);
    return bmi;
}

double metricBmi(const Reader& read) {
    FloatStatus status;
    const double w = read.weight();
    const double h = read.height();
    // Two successive divisions, never W / (H x H): the two differ in the last bit.
    const double perMetre = status.divide(w, h);
    status.checkDivisionBy(InputField::Height, read.input.height);
    const double bmi = status.divide(perMetre, read.height());
    status.checkDivisionBy(InputField::Height, read.input.height);
    return bmi;
}

}  // namespace

UnitSystem unitSystemOf(std::string_view methodText) {
    if (methodText == "Imperial") return UnitSystem::Imperial;
    if (methodText == "Metric") return UnitSystem::Metric;
    throw CalcError(CalcErrorKind::UnknownUnit, InputField::Method, methodText);
}

double computeBmi(const MeasurementInput& input, const NumberLocale& locale) {
    const Reader read{input, locale};
    if (unitSystemOf(input.method) == UnitSystem::Metric) return metricBmi(read);
    switch (imperialHeightUnitOf(input.heightUnit)) {
    case HeightUnit::Inches: return inchesBmi(read);
    case HeightUnit::Feet: return feetBmi(read);
    }
    return 0.0;  // unreachable: every HeightUnit is handled above
}

std::string formatBmi(double bmi, const NumberLocale& locale) { return numberToText(bmi, locale); }

std::string_view classifyBmi(double bmi) {
    if (bmi <= 18.5) return "Underweight";
    if (bmi < 25.0) return "Generally Considered Normal Weight";
    if (bmi < 30.0) return "Generally Considered Overweight";
    if (bmi < 35.0) return "Obesity (Class 1) Risk of developing Health Related Problems";
    if (bmi < 40.0) return "Obesity (Class 2) High Risk of developing Health Related Problems";
    return "Obesity (Class 3) Extreme Risk of developing Health Related Problems";
}

CalcResult computeResult(const MeasurementInput& input, const NumberLocale& locale) {
    const double bmi = computeBmi(input, locale);
    return CalcResult{formatBmi(bmi, locale), std::string(classifyBmi(bmi))};
}

}  // namespace parvolin
