#include "units/unit_lists.h"

#include <QComboBox>

#include "runtime/forms/controls.h"

namespace parvolin {
namespace {

void fillBox(QComboBox& box, const std::vector<std::string_view>& items, std::string_view text) {
    for (int index = 0; index < static_cast<int>(items.size()); ++index)
        setListItem(box, index, items[static_cast<std::size_t>(index)]);
    setControlText(box, text);
}

}  // namespace

const UnitLists& unitListsFor(UnitSystem system) {
    static const UnitLists imperial{{"Pounds"}, "Pounds", {"Feet", "Inches"}, "Feet"};
    static const UnitLists metric{{"Kg"}, "Kg", {"Meters"}, "Meters"};
    return system == UnitSystem::Imperial ? imperial : metric;
}

void fillUnitLists(UnitSystem system, QComboBox& weightUnitBox, QComboBox& heightUnitBox) {
    const UnitLists& lists = unitListsFor(system);
    fillBox(weightUnitBox, lists.weightItems, lists.weightText);
    fillBox(heightUnitBox, lists.heightItems, lists.heightText);
}

void rebuildUnitLists(std::string_view methodText, QComboBox& weightUnitBox,
                      QComboBox& heightUnitBox) {
    clearList(heightUnitBox);
    clearList(weightUnitBox);
    const UnitSystem system = methodText == "Imperial" ? UnitSystem::Imperial : UnitSystem::Metric;
    fillUnitLists(system, weightUnitBox, heightUnitBox);
}

}  // namespace parvolin
