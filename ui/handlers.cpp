// The three handlers of Form1. Each runs inside the runtime's error frame: an
// error ends it at once and is reported, with the controls as the steps
// before the error left them.
#include "core/bmi.h"
#include "ui/form1.h"
#include "units/unit_lists.h"

namespace parvolin {

using namespace form1;

namespace {
constexpr UnitBoxes kUnitBoxes{kWeightUnitBox, kHeightUnitBox};
}  // namespace

void handleLoad(FormControls& form) { fillUnitLists(UnitSystem::Imperial, form, kUnitBoxes); }

void handleMethodChange(FormControls& form) {
    rebuildUnitLists(form.text(kMethodBox), form, kUnitBoxes);
}

void handleCalculate(FormControls& form) {
    const MeasurementInput input{form.text(kMethodBox), form.text(kHeightUnitBox),
                                 form.text(kWeightBox), form.text(kHeightBox)};
    // The user's locale, read at each press: it decides the decimal separator.
    const CalcResult result = computeResult(input, form.numberLocale());
    form.setText(kBmiBox, result.bmiText);
    form.setText(kStatusBox, result.statusText);
}

}  // namespace parvolin
