#include "runtime/calc_error.h"

namespace parvolin {

CalcError::CalcError(CalcErrorKind kind, InputField field, std::string_view text)
    : kind_(kind), field_(field), text_(std::make_shared<const std::string>(text)) {}

const char* CalcError::what() const noexcept {
    switch (kind_) {
    case CalcErrorKind::InvalidNumber: return "invalid number";
    case CalcErrorKind::DivisionByZero: return "division by zero";
    case CalcErrorKind::Overflow: return "overflow";
    case CalcErrorKind::InvalidOperation: return "invalid operation";
    case CalcErrorKind::UnknownUnit: return "unknown unit";
    }
    return "calculation error";
}

}  // namespace parvolin
