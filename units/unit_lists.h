#pragma once

#include <string_view>
#include <vector>

#include "core/bmi.h"
#include "runtime/forms/form_controls.h"

namespace parvolin {

// What the weight-unit box and the height-unit box offer and show for one
// unit system.
struct UnitLists {
    std::vector<std::string_view> weightItems;
    std::string_view weightText;
    std::vector<std::string_view> heightItems;
    std::string_view heightText;
};

// The two boxes by their names in the window.
struct UnitBoxes {
    std::string_view weight;
    std::string_view height;
};

// Imperial: "Pounds"; "Feet", "Inches", showing "Feet".
// Metric:   "Kg"; "Meters", showing "Meters".
const UnitLists& unitListsFor(UnitSystem system);

// Puts the system's items and shown texts into the unit boxes, the weight box
// first, each box's items before its text (adding the first item to an empty
// combo box may overwrite its text). Does not clear the boxes first.
void fillUnitLists(UnitSystem system, FormControls& form, const UnitBoxes& boxes);

// Empties both boxes (the height box first) and fills them for the system the
// method text names: Imperial for exactly "Imperial", Metric for anything
// else. It runs only for a pick from the method list, whose items are those two.
void rebuildUnitLists(std::string_view methodText, FormControls& form, const UnitBoxes& boxes);

}  // namespace parvolin
