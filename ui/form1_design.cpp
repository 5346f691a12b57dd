// Form1 as it was designed: positions and sizes in twips, the controls in
// creation order (each label just before the box it names, the focusable
// controls in tab order: Combo1, Text1, Text2, Combo2, Combo3, Command1,
// Text3, Text4).
#include <array>

#include "ui/form1.h"

namespace parvolin {
namespace {

using enum ControlKind;
using namespace form1;

constexpr std::array<std::string_view, 2> kMethods{"Imperial", "Metric"};

// Tab indexes are the designer's; labels hold theirs although they take no focus.
constexpr std::array<ControlDesign, 13> kControls{{
    {kMethodLabel, Label, {135, 180, 585, 195}, 0, "Method:"},
    {kMethodBox, DropDownCombo, {900, 135, 2220, 315}, 1, "Imperial", kMethods},
    {kWeightLabel, Label, {135, 675, 555, 195}, 2, "Weight:"},
    {kWeightBox, TextBox, {900, 630, 1050, 315}, 4, ""},
    {kHeightLabel, Label, {135, 1170, 510, 195}, 3, "Height:"},
    {kHeightBox, TextBox, {900, 1125, 1050, 315}, 5, ""},
    {kWeightUnitBox, DropDownCombo, {2070, 630, 1050, 315}, 6, "", {}, "Weight unit"},
    {kHeightUnitBox, DropDownCombo, {2070, 1125, 1050, 315}, 7, "", {}, "Height unit"},
    {kCalculateButton, PushButton, {900, 1620, 1365, 375}, 8, "Calculate!"},
    {kStatusLabel, Label, {135, 2745, 495, 195}, 11, "Status:"},
    {kStatusBox, MultiLineTextBox, {900, 2700, 2220, 810}, 9, ""},
    {kBmiLabel, Label, {135, 2250, 330, 195}, 12, "BMI:"},
    {kBmiBox, TextBox, {900, 2205, 2220, 315}, 10, ""},
}};

constexpr std::array<EventBinding, 2> kEvents{{
    {kMethodBox, ControlEvent::Pick, handleMethodChange},
    {kCalculateButton, ControlEvent::Press, handleCalculate},
}};

// What a screen reader says after a calculation (the result, whose boxes are
// below the button the user is on) and after a pick of the unit system (the
// units beside the boxes, which change without a word otherwise).
constexpr std::array<std::string_view, 2> kAnnounced{
    "BMI {Text4}. {Text3}.",
    "{Combo2} and {Combo3}",
};

}  // namespace

const FormDesign& form1Design() {
    // An arithmetic failure comes from the height (zero, or absurdly small or
    // large), so it sends the user back to the height box.
    static const FormDesign design{
        "Form1",
        "Parvolin",
        3255,
        3645,
        kControls,
        handleLoad,
        kEvents,
        {.none = kHeightBox,
         .method = kMethodBox,
         .heightUnit = kHeightUnitBox,
         .weight = kWeightBox,
         .height = kHeightBox},
        kAnnounced,
    };
    return design;
}

}  // namespace parvolin
