// The three handlers of Form1. Each runs inside the runtime's error frame: an
// error ends it at once and is reported, with the controls as the steps
// before the error left them.
#include "core/bmi.h"
#include "ui/form1.h"
#include "units/unit_lists.h"

namespace parvolin {

void handleLoad(FormControls& form) { fillUnitLists(UnitSystem::Imperial, form); }

void handleMethodChange(FormControls& form) { rebuildUnitLists(form.text("Combo1"), form); }

void handleCalculate(FormControls& form) {
    const MeasurementInput input{form.text("Combo1"), form.text("Combo3"), form.text("Text1"),
                                 form.text("Text2")};
    // The user's locale, read at each press: it decides the decimal separator.
    const CalcResult result = computeResult(input, form.numberLocale());
    form.setText("Text4", result.bmiText);
    form.setText("Text3", result.statusText);
}

}  // namespace parvolin
