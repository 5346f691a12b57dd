#include "runtime/forms/form_design.h"

#include <stdexcept>
#include <string>

namespace parvolin {

std::string_view CorrectionBoxes::of(InputField field) const {
    switch (field) {
    case InputField::Method: return method;
    case InputField::HeightUnit: return heightUnit;
    case InputField::Weight: return weight;
    case InputField::Height: return height;
    case InputField::None: break;
    }
    return none;
}

const ControlDesign& FormDesign::control(std::string_view controlName) const {
    for (const ControlDesign& design : controls)
        if (design.name == controlName) return design;
    throw std::out_of_range("no control named " + std::string(controlName));
}

}  // namespace parvolin
