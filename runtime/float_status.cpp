#include "runtime/float_status.h"

#include <cmath>
#include <utility>

#include "runtime/calc_error.h"

namespace parvolin {

void raiseFloatError(unsigned conditions, InputField field, std::string_view text) {
    if (conditions & kInvalidOperation)
        throw CalcError(CalcErrorKind::InvalidOperation, field, text);
    if (conditions & kDivisionByZero) throw CalcError(CalcErrorKind::DivisionByZero, field, text);
    if (conditions & kOverflow) throw CalcError(CalcErrorKind::Overflow, field, text);
}

// A NaN from non-NaN operands is an invalid operation (0/0, 0 x inf); an
// infinity from finite operands is an overflow, except x/0, which IEEE 754
// signals as a division by zero.
void FloatStatus::note(double a, double b, double result) noexcept {
    if (std::isnan(a) || std::isnan(b)) return;
    if (std::isnan(result))
        conditions_ |= kInvalidOperation;
    else if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        conditions_ |= kOverflow;
}

double FloatStatus::multiply(double a, double b) noexcept {
    const double result = a * b;
    note(a, b, result);
    return result;
}

double FloatStatus::divide(double a, double b) noexcept {
    const double result = a / b;
    if (b == 0.0 && a != 0.0 && !std::isnan(a))
        conditions_ |= std::isfinite(a) ? kDivisionByZero : 0u;
    else
        note(a, b, result);
    return result;
}

void FloatStatus::check(InputField field, std::string_view text) {
    raiseFloatError(std::exchange(conditions_, 0u), field, text);
}

void FloatStatus::checkDivisionBy(InputField divisor, std::string_view text) {
    const unsigned gathered = std::exchange(conditions_, 0u);
    raiseFloatError(gathered & (kInvalidOperation | kDivisionByZero), divisor, text);
    raiseFloatError(gathered);
}

}  // namespace parvolin
