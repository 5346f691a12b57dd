#pragma once

#include <string_view>

#include "runtime/forms/form_controls.h"
#include "runtime/forms/form_design.h"

namespace parvolin {

// The designer's names of Form1's controls, written once: a misspelt name
// does not compile.
namespace form1 {
inline constexpr std::string_view kMethodLabel = "Label1";
inline constexpr std::string_view kMethodBox = "Combo1";
inline constexpr std::string_view kWeightLabel = "Label2";
inline constexpr std::string_view kWeightBox = "Text1";
inline constexpr std::string_view kHeightLabel = "Label3";
inline constexpr std::string_view kHeightBox = "Text2";
inline constexpr std::string_view kWeightUnitBox = "Combo2";
inline constexpr std::string_view kHeightUnitBox = "Combo3";
inline constexpr std::string_view kCalculateButton = "Command1";
inline constexpr std::string_view kStatusLabel = "Label4";
inline constexpr std::string_view kStatusBox = "Text3";
inline constexpr std::string_view kBmiLabel = "Label5";
inline constexpr std::string_view kBmiBox = "Text4";
}  // namespace form1

// The program's one window: its thirteen controls, its frame and the bindings
// of its three handlers, for whichever forms runtime builds it.
const FormDesign& form1Design();

// Fills the unit boxes for the Imperial system.
void handleLoad(FormControls& form);
// A pick from the method box's list: rebuilds the unit boxes for the picked system.
void handleMethodChange(FormControls& form);
// A press of "Calculate!": the BMI box gets the BMI, then the status box its
// status, and neither changes unless the whole calculation succeeds.
void handleCalculate(FormControls& form);

}  // namespace parvolin
