#include "runtime/forms/form_design.h"

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

}  // namespace parvolin
