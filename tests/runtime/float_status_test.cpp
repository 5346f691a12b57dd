#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "runtime/calc_error.h"
#include "runtime/float_status.h"
#include "test_support.h"

namespace parvolin {
namespace {

using test::PrintTo;
using test::rowName;

enum class Op { Multiply, Divide };

struct Step {
    std::string name;
    Op op;
    double a;
    double b;
    std::optional<CalcErrorKind> expected;  // nothing: the check passes
};

class FloatStatusCheck : public testing::TestWithParam<Step> {};

TEST_P(FloatStatusCheck, RaisesTheConditionOfTheStep) {
    const Step& row = GetParam();
    FloatStatus status;
    row.op == Op::Multiply ? status.multiply(row.a, row.b) : status.divide(row.a, row.b);
    if (!row.expected) {
        EXPECT_NO_THROW(status.check());
        return;
    }
    try {
        status.check();
        FAIL() << "no error";
    } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), *row.expected);
        EXPECT_EQ(error.field(), InputField::None);
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Ieee754, FloatStatusCheck,
    testing::Values(
        Step{"OrdinaryProduct", Op::Multiply, 154.0, 703.0, std::nullopt},
        Step{"ProductOverflows", Op::Multiply, 1e306, 703.0, CalcErrorKind::Overflow},
        Step{"NegativeProductOverflows", Op::Multiply, -1e306, 703.0, CalcErrorKind::Overflow},
        Step{"ProductUnderflowIsNoError", Op::Multiply, 1e-200, 1e-200, std::nullopt},
        Step{"ZeroTimesInfinityIsInvalid", Op::Multiply, 0.0, kInf,
             CalcErrorKind::InvalidOperation},
        Step{"InfinityTimesFiniteIsExact", Op::Multiply, kInf, 2.0, std::nullopt},
        Step{"OrdinaryQuotient", Op::Divide, 70.0, 1.75, std::nullopt},
        Step{"DivisionByZero", Op::Divide, 70.0, 0.0, CalcErrorKind::DivisionByZero},
        Step{"DivisionByNegativeZero", Op::Divide, -70.0, -0.0, CalcErrorKind::DivisionByZero},
        Step{"ZeroByZeroIsInvalid", Op::Divide, 0.0, 0.0, CalcErrorKind::InvalidOperation},
        Step{"QuotientOverflows", Op::Divide, 1e308, 1e-10, CalcErrorKind::Overflow},
        Step{"QuotientUnderflowIsNoError", Op::Divide, 1e-300, 1e300, std::nullopt},
        Step{"FiniteByInfinityIsExact", Op::Divide, 1.0, kInf, std::nullopt},
        Step{"InfinityByZeroIsExact", Op::Divide, kInf, 0.0, std::nullopt},
        Step{"InfinityByInfinityIsInvalid", Op::Divide, kInf, kInf,
             CalcErrorKind::InvalidOperation}),
    rowName<Step>);

TEST(FloatStatus, ConditionsStayUntilTheNextCheckAndAreClearedByIt) {
    FloatStatus status;
    const double huge = status.multiply(1e200, 1e200);
    status.divide(1.0, huge);  // exact, yet the overflow before it is still pending
    EXPECT_THROW(status.check(), CalcError);
    EXPECT_NO_THROW(status.check());
}

TEST(FloatStatus, InvalidOperationOutranksDivisionByZeroAndOverflow) {
    try {
        raiseFloatError(kOverflow | kDivisionByZero | kInvalidOperation);
        FAIL() << "no error";
    } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), CalcErrorKind::InvalidOperation);
    }
    EXPECT_NO_THROW(raiseFloatError(0));
}

}  // namespace
}  // namespace parvolin
