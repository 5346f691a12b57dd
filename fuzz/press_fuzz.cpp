// A whole press of "Calculate!" for four arbitrary texts: a CalcResult whose
// BMI text and status belong to the same value, or a CalcError; nothing else.
#include <cmath>

#include "core/bmi.h"
#include "fuzz_support.h"

using namespace parvolin;
using parvolin::fuzz::require;

namespace {

// The thresholds between the statuses: a status may differ from that of the
// 15-digit text only when one of them lies between the text and the value.
bool thresholdBetween(double a, double b) {
    for (double threshold : {18.5, 25.0, 30.0, 35.0, 40.0})
        if (std::min(a, b) <= threshold && threshold <= std::max(a, b)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const NumberLocale locale = fuzz::consumeLocale(input);
    // Known unit names often enough that the formulas run.
    auto unitOr = [&](std::initializer_list<const char*> known) {
        const int pick = input.ConsumeIntegralInRange<int>(0, int(known.size()));
        return pick < int(known.size()) ? std::string(known.begin()[pick])
                                        : input.ConsumeRandomLengthString(64);
    };
    MeasurementInput measurement;
    measurement.method = unitOr({"Imperial", "Metric"});
    measurement.heightUnit = unitOr({"Feet", "Inches"});
    measurement.weight = input.ConsumeRandomLengthString(64);
    measurement.height = input.ConsumeRemainingBytesAsString();

    const bool knownMethod = measurement.method == "Imperial" || measurement.method == "Metric";
    const bool knownUnit = measurement.heightUnit == "Feet" || measurement.heightUnit == "Inches";
    CalcResult result;
    try {
        result = computeResult(measurement, locale);
    } catch (const CalcError& error) {
        if (!knownMethod)
            require(
                error.kind() == CalcErrorKind::UnknownUnit && error.field() == InputField::Method,
                "unknown method not reported");
        return 0;
    }
    require(knownMethod, "an unknown method gave a result");
    require(measurement.method == "Metric" || knownUnit, "an unknown height unit gave a result");

    const double shown = textToNumber(result.bmiText, locale);
    const double value = computeBmi(measurement, locale);
    require(std::isfinite(value), "a non-finite BMI got through");
    require(result.bmiText == numberToText(value, locale), "the BMI text is not the value's");
    require(std::abs(shown - value) <= std::abs(value) * 1e-14,
            "the BMI text is far from the value");
    require(result.statusText == classifyBmi(value), "the status is not the value's");
    require(classifyBmi(shown) == result.statusText || thresholdBetween(shown, value),
            "the status belongs to neither the text nor the value");
    return 0;
}
