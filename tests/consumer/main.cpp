// Uses the calculation as an outside project would; exits non-zero on any surprise.
#include <cstdio>
#include <string>

#include "core/bmi.h"

int main() {
    const parvolin::NumberLocale locale;
    const double bmi = parvolin::computeBmi({"Metric", "Meters", "70", "1.75"}, locale);
    const bool formatted = parvolin::formatBmi(bmi, locale) == "22.8571428571429";
    const bool classified = parvolin::classifyBmi(bmi) == "Generally Considered Normal Weight";
    bool caught = false;
    try {
        parvolin::computeBmi({"Metric", "Meters", "70", "0"}, locale);
    } catch (const parvolin::CalcError& error) {
        caught = error.kind() == parvolin::CalcErrorKind::DivisionByZero;
    }
    std::printf("formatted %d, classified %d, caught %d\n", formatted, classified, caught);
    return formatted && classified && caught ? 0 : 1;
}
