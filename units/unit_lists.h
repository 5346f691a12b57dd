#pragma once

#include <string_view>
#include <vector>

#include "core/bmi.h"
#include "runtime/forms/form_controls.h"

namespace parvolin {

// What the weight-unit box (Combo2) and the height-unit box (Combo3) offer and
// show for one unit system.
struct UnitLists {
    std::vector<std::string_view> weightItems;
    std::string_view weightText;
    std::vector<std::string_view> heightItems;
    std::string_view heightText;
};

// Imperial: "Pounds"; "Feet", "Inches", showing "Feet".
// Metric:   "Kg"; "Meters", showing "Meters".
const UnitLists& unitListsFor(UnitSystem system);

// Puts the system's items and shown texts into Combo2 and Combo3, the weight
// box first, each box's items before its text (adding the first item to an
// empty combo box may overwrite its text). Does not clear the boxes first.
void fillUnitLists(UnitSystem system, FormControls& form);

// Empties both boxes (Combo3 first) and fills them for the system the method
// text names: Imperial for exactly "Imperial", Metric for anything else. It
// runs only for a pick from the method list, whose items are those two.
void rebuildUnitLists(std::string_view methodText, FormControls& form);

}  // namespace parvolin
