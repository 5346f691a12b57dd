#include "units/unit_lists.h"

namespace parvolin {
namespace {

void fillBox(FormControls& form, std::string_view box, const std::vector<std::string_view>& items,
             std::string_view text) {
    for (int index = 0; index < static_cast<int>(items.size()); ++index)
        form.setListItem(box, index, items[static_cast<std::size_t>(index)]);
    form.setText(box, text);
}

}  // namespace

const UnitLists& unitListsFor(UnitSystem system) {
    static const UnitLists imperial{{"Pounds"}, "Pounds", {"Feet", "Inches"}, "Feet"};
    static const UnitLists metric{{"Kg"}, "Kg", {"Meters"}, "Meters"};
    return system == UnitSystem::Imperial ? imperial : metric;
}

void fillUnitLists(UnitSystem system, FormControls& form, const UnitBoxes& boxes) {
    const UnitLists& lists = unitListsFor(system);
    fillBox(form, boxes.weight, lists.weightItems, lists.weightText);
    fillBox(form, boxes.height, lists.heightItems, lists.heightText);
}

void rebuildUnitLists(std::string_view methodText, FormControls& form, const UnitBoxes& boxes) {
    form.clearList(boxes.height);
    form.clearList(boxes.weight);
    const UnitSystem system = methodText == "Imperial" ? UnitSystem::Imperial : UnitSystem::Metric;
    fillUnitLists(system, form, boxes);
}

}  // namespace parvolin
