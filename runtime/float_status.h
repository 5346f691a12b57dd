#pragma once

#include <string_view>

#include "runtime/calc_error.h"

namespace parvolin {

// The floating-point conditions that fail a calculation, as bits.
enum FloatCondition : unsigned {
    kInvalidOperation = 1u << 0,
    kDivisionByZero = 1u << 1,
    kOverflow = 1u << 2,
};

// Raises the CalcError for gathered conditions: InvalidOperation before
// DivisionByZero before Overflow when several occurred. Does nothing for 0.
// The error concerns `field` and carries its text.
void raiseFloatError(unsigned conditions, InputField field = InputField::None,
                     std::string_view text = {});

// IEEE 754 status gathered since the last check, like the hardware's sticky
// flags, for one calculation. The conditions are worked out from each step's
// operands and result, which IEEE 754 fixes exactly for multiplication and
// division: GCC cannot be trusted to keep arithmetic on its side of a
// fetestexcept call, so the hardware flags are not read.
// Underflow and inexact results are not conditions: a result too small for a
// double quietly becomes a subnormal or zero.
class FloatStatus {
public:
    double multiply(double a, double b) noexcept;
    double divide(double a, double b) noexcept;

    // Fails the calculation if any condition occurred since the last check;
    // the error concerns the input these steps worked on.
    void check(InputField field = InputField::None, std::string_view text = {});

    // The same after dividing by an input: a division by zero or an invalid
    // operation concerns the divisor (zero, or too small to divide by); an
    // overflow concerns no single input, as the quotient itself is too large.
    void checkDivisionBy(InputField divisor, std::string_view text);

private:
    void note(double a, double b, double result) noexcept;

    unsigned conditions_ = 0;
};

}  // namespace parvolin
