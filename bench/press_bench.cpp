// One press of "Calculate!" without the window (three text conversions, the
// formula, the formatting and the classification) against the floor of what
// it could cost: strtod, the same arithmetic and snprintf("%.15g").
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/bmi.h"

namespace {

struct Case {
    const char* method;
    const char* unit;
    const char* weight;
    const char* height;
};

// The three formulas, cycled so that neither side profits from one path.
constexpr Case kCases[] = {{"Metric", "Meters", "70", "1.75"},
                           {"Imperial", "Inches", "154", "69"},
                           {"Imperial", "Feet", "154", "5.75"},
                           {"Metric", "Meters", "60", "1.8"}};

void Press(benchmark::State& state) {
    std::vector<parvolin::MeasurementInput> inputs;
    for (const Case& c : kCases) inputs.push_back({c.method, c.unit, c.weight, c.height});
    const parvolin::NumberLocale locale;
    std::size_t i = 0;
    for (auto _ : state) {
        parvolin::CalcResult result =
            parvolin::computeResult(inputs[i++ % std::size(kCases)], locale);
        benchmark::DoNotOptimize(result);
    }
}

const char* baselineStatus(double bmi) {
    if (bmi <= 18.5) return "Underweight";
    if (bmi < 25.0) return "Generally Considered Normal Weight";
    if (bmi < 30.0) return "Generally Considered Overweight";
    if (bmi < 35.0) return "Obesity (Class 1) Risk of developing Health Related Problems";
    if (bmi < 40.0) return "Obesity (Class 2) High Risk of developing Health Related Problems";
    return "Obesity (Class 3) Extreme Risk of developing Health Related Problems";
}

// No checks, no errors, no locale: what the arithmetic alone costs with the C library.
void PressBaseline(benchmark::State& state) {
    std::size_t i = 0;
    char text[32];
    for (auto _ : state) {
        const Case& c = kCases[i++ % std::size(kCases)];
        const double w = std::strtod(c.weight, nullptr);
        const double h = std::strtod(c.height, nullptr);
        double bmi = 0.0;
        if (std::strcmp(c.method, "Imperial") != 0)
            bmi = (w / h) / std::strtod(c.height, nullptr);
        else if (std::strcmp(c.unit, "Inches") == 0)
            bmi = (w * 703.0) / (h * std::strtod(c.height, nullptr));
        else
            bmi = (w * 703.0) / (h * ((std::strtod(c.height, nullptr) * 12.0) * 12.0));
        std::snprintf(text, sizeof text, "%.15g", bmi);
        const char* status = baselineStatus(bmi);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(status);
    }
}

}  // namespace

BENCHMARK(PressBaseline);
BENCHMARK(Press);
BENCHMARK_MAIN();
