#pragma once

namespace parvolin {

// The floating-point conditions that fail a calculation, as bits.
enum FloatCondition : unsigned {
    kInvalidOperation = 1u << 0,
    kDivisionByZero = 1u << 1,
    kOverflow = 1u << 2,
};

// Raises the CalcError for gathered conditions: InvalidOperation before
// DivisionByZero before Overflow when several occurred. Does nothing for 0.
void raiseFloatError(unsigned conditions);

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

    // Fails the calculation if any condition occurred since the last check.
    void check();

private:
    void note(double a, double b, double result) noexcept;

    unsigned conditions_ = 0;
};

}  // namespace parvolin
