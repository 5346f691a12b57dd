#pragma once

#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"

namespace parvolin {

// The program's one window: its thirteen controls, its frame and the bindings
// of its three handlers, for whichever forms runtime builds it.
const FormDesign& form1Design();

// Fills the unit boxes for the Imperial system.
void handleLoad(FormControls& form);
// A pick from Combo1's list: rebuilds the unit boxes for the picked system.
void handleMethodChange(FormControls& form);
// A press of "Calculate!": Text4 gets the BMI, then Text3 its status, and
// neither changes unless the whole calculation succeeds.
void handleCalculate(FormControls& form);

}  // namespace parvolin
