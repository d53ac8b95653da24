#include "engine/zuncalc.h"
#include "precision.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

using namespace pellix;

namespace {

using Stack4 = std::array<double, 4>;

struct OpCase {
    const char* name;
    TZunOperation op;
    Stack4 before; // X, Y, Z, T
    Stack4 after;
    double relTol = 0; // 0: exact
    TZunTrigMode trig = zunDeg;
    const char* error = "";
    bool handledFault = false; // a fault ended it: Input keeps its value
};

std::ostream& operator<<(std::ostream& os, const OpCase& c) {
    return os << c.name;
}

bool Near(double expected, double actual, double relTol) {
    if (relTol == 0) {
        return expected == actual;
    }
    return std::fabs(expected - actual) <= relTol * std::max(1.0, std::fabs(expected));
}

class Operations : public ::testing::TestWithParam<OpCase> {};

TEST_P(Operations, ResultStackAndErrorText) {
    const OpCase& c = GetParam();
    TZunCalc z(1);
    z.Stack = c.before;
    z.TrigMode = c.trig;
    z.LastX = 9;
    z.Input = false;
    z.ExecOp(c.op);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_PRED3(Near, c.after[i], z.Stack[i], c.relTol) << "stack entry " << i;
    }
    EXPECT_EQ(z.FError, c.error);
    EXPECT_EQ(z.Input, !c.handledFault) << "a completed operation ends any entry";
}

constexpr double R = 1e-15;  // relative tolerance for transcendental results
constexpr double R9 = 5e-10; // values given to ten digits

const OpCase kOpCases[] = {
    {"Add", zunAdd, {2, 1, 7, 8}, {3, 7, 8, 8}},
    {"SubtractIsYMinusX", zunSub, {3, 10, 7, 8}, {7, 7, 8, 8}},
    {"Multiply", zunMul, {7, 6, 1, 2}, {42, 1, 2, 2}},
    {"Divide", zunDiv, {4, 1, 7, 8}, {0.25, 7, 8, 8}},
    {"DivideByZero", zunDiv, {0, 1, 7, 8}, {7, 8, 8, 8}, 0, zunDeg, "Divide by 0"},
    {"DivideByZeroTestedValue", zunDiv, {1e-200, 1, 7, 8}, {7, 8, 8, 8}, 0, zunDeg, "Divide by 0"},
    {"DivideJustAboveZeroTest",
     zunDiv,
     {1e-199 * 1.0000001, 1e-199, 0, 0},
     {0.9999999, 0, 0, 0},
     1e-12},
    {"Enter", zunEnter, {5, 1, 2, 3}, {5, 5, 1, 2}},
    {"ZeroToZeroIsOne", zunPwr, {0, 0, 7, 8}, {1, 7, 8, 8}},
    {"ZeroToMinusOne", zunPwr, {-1, 0, 7, 8}, {7, 8, 8, 8}, 0, zunDeg, "Divide by 0", true},
    {"ZeroToHalf", zunPwr, {0.5, 0, 7, 8}, {0, 7, 8, 8}},
    {"ZeroToMinusHalf", zunPwr, {-0.5, 0, 7, 8}, {0, 7, 8, 8}},
    {"NegativeBaseIntegralExponent", zunPwr, {3, -2, 7, 8}, {-8, 7, 8, 8}},
    {"NegativeIntegralExponent", zunPwr, {-2, 4, 0, 0}, {0.0625, 0, 0, 0}},
    {"NonIntegralExponent", zunPwr, {0.5, 2, 0, 0}, {1.4142135623730951, 0, 0, 0}, R},
    {"PowerOverflow", zunPwr, {2, 1e200, 7, 8}, {7, 8, 8, 8}, 0, zunDeg, "Overflow", true},
    {"TenTo308", zunPwr10, {308, 1, 2, 3}, {1e308, 1, 2, 3}, R},
    {"TenTo309", zunPwr10, {309, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Overflow", true},
    {"TenToMinus320IsSubnormal", zunPwr10, {-320, 1, 2, 3}, {1e-320, 1, 2, 3}, 1e-3},
    {"TenToFraction", zunPwr10, {0.5, 0, 0, 0}, {3.1622776601683795, 0, 0, 0}, R},
    {"Reciprocal", zunInv, {4, 1, 2, 3}, {0.25, 1, 2, 3}},
    {"ReciprocalOfZero", zunInv, {1e-200, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Divide by 0"},
    {"SineDegrees", zunSin, {30, 1, 2, 3}, {0.5, 1, 2, 3}, R},
    {"SineRadians", zunSin, {Pi / 2, 1, 2, 3}, {1, 1, 2, 3}, R, zunRad},
    {"SineGrads", zunSin, {100, 1, 2, 3}, {1, 1, 2, 3}, R, zunGrad},
    {"CosineDegrees", zunCos, {60, 0, 0, 0}, {0.5, 0, 0, 0}, R},
    {"TangentDegrees", zunTan, {45, 0, 0, 0}, {1, 0, 0, 0}, R},
    {"SineOfPiRadiansIsNotReduced",
     zunSin,
     {Pi, 0, 0, 0},
     {1.2246467991473532e-16, 0, 0, 0},
     R,
     zunRad},
    {"SineOfInfinityOverflows",
     zunSin,
     {INFINITY, 1, 2, 3},
     {1, 2, 3, 3},
     0,
     zunDeg,
     "Overflow",
     true},
    {"TangentOfRightAngleOverflows",
     zunTan,
     {-270, 1, 2, 3},
     {1, 2, 3, 3},
     0,
     zunDeg,
     "Overflow",
     true},
    {"ArcsineDegrees", zunInvSin, {0.5, 0, 0, 0}, {30, 0, 0, 0}, R},
    {"ArcsineGrads", zunInvSin, {1, 0, 0, 0}, {100, 0, 0, 0}, R, zunGrad},
    {"ArccosineDegrees", zunInvCos, {0.5, 0, 0, 0}, {60, 0, 0, 0}, R},
    {"ArccosineOfMinusOne", zunInvCos, {-1, 0, 0, 0}, {180, 0, 0, 0}, R},
    {"ArctangentDegrees", zunInvTan, {1, 0, 0, 0}, {45, 0, 0, 0}, R},
    {"ArctangentRadians", zunInvTan, {1, 0, 0, 0}, {Pi / 4, 0, 0, 0}, R, zunRad},
    {"Exchange", zunExc, {1, 2, 3, 4}, {2, 1, 3, 4}},
    {"NaturalLog", zunLn, {std::exp(1.0), 1, 2, 3}, {1, 1, 2, 3}, R},
    {"LnOfZero", zunLn, {1e-200, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "ln(0)"},
    {"CommonLog", zunLog10, {1000, 1, 2, 3}, {3, 1, 2, 3}},
    {"LogOfZero", zunLog10, {0, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "log(0)"},
    {"ChangeSign", zunCHS, {2.5, 1, 2, 3}, {-2.5, 1, 2, 3}},
    {"Exponential", zunExp, {1, 0, 0, 0}, {2.718281828459045, 0, 0, 0}, R},
    {"ExponentialOverflow", zunExp, {710, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Overflow", true},
    {"ExponentialUnderflowIsZero", zunExp, {-1000, 1, 2, 3}, {0, 1, 2, 3}},
    {"Square", zunSqr, {-3, 1, 2, 3}, {9, 1, 2, 3}},
    {"SquareOverflow", zunSqr, {1e200, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Overflow", true},
    {"Absolute", zunAbs, {-3, 1, 2, 3}, {3, 1, 2, 3}},
    {"IntegerPart", zunInt, {-2.5, 1, 2, 3}, {-2, 1, 2, 3}},
    {"FractionalPart", zunFrac, {-2.5, 1, 2, 3}, {-0.5, 1, 2, 3}},
    {"SumChangesNothing", zunSum, {5, 1, 2, 3}, {5, 1, 2, 3}},
    {"SquareRoot", zunSqrt, {16, 1, 2, 3}, {4, 1, 2, 3}},
    {"RollDown", zunStackDown, {1, 2, 3, 4}, {2, 3, 4, 1}},
    {"RollUp", zunStackUp, {1, 2, 3, 4}, {4, 1, 2, 3}},
    {"RecallLastX", zunLastX, {1, 2, 3, 4}, {9, 1, 2, 3}},
    {"ToRadiansIgnoresAngleMode", zunToRad, {180, 0, 0, 0}, {Pi, 0, 0, 0}, R, zunGrad},
    {"ToDegreesIgnoresAngleMode", zunToDeg, {Pi, 0, 0, 0}, {180, 0, 0, 0}, R, zunRad},
    {"ToDegreesOverflow", zunToDeg, {1e307, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Overflow", true},
    {"Factorial5", zunFact, {5, 1, 2, 3}, {120, 1, 2, 3}},
    {"Factorial0", zunFact, {0, 1, 2, 3}, {1, 1, 2, 3}},
    {"FactorialOfNegativeIntegerIsOne", zunFact, {-3, 1, 2, 3}, {1, 1, 2, 3}},
    {"Factorial170", zunFact, {170, 1, 2, 3}, {7.257415615307994e306, 1, 2, 3}, 1e-14},
    {"Factorial171Overflows", zunFact, {171, 1, 2, 3}, {1, 2, 3, 3}, 0, zunDeg, "Overflow", true},
    {"GammaOfOneAndHalf", zunFact, {0.5, 0, 0, 0}, {0.886226925452758, 0, 0, 0}, R9},
    {"GammaOfHalf", zunFact, {-0.5, 0, 0, 0}, {1.772453850905516, 0, 0, 0}, R9},
    {"GammaOfMinusHalf", zunFact, {-1.5, 0, 0, 0}, {-3.544907701811032, 0, 0, 0}, R9},
    {"GammaOfMinusOneAndHalf", zunFact, {-2.5, 0, 0, 0}, {2.363271801207355, 0, 0, 0}, R9},
    {"GammaOfLargeArgument", zunFact, {10.5, 0, 0, 0}, {11899423.083962249, 0, 0, 0}, 1e-9},
    {"GammaWhereXPlusOneRoundsToInteger",
     zunFact,
     {1 - 1.1102230246251565e-16, 0, 0, 0},
     {1, 0, 0, 0}},
    {"GammaNearZero", zunFact, {-1.1102230246251565e-16, 0, 0, 0}, {1, 0, 0, 0}, 1e-9},
    {"GammaFarBelowMinus171Overflows",
     zunFact,
     {-175.5, 1, 2, 3},
     {1, 2, 3, 3},
     0,
     zunDeg,
     "Overflow",
     true},
    {"Percent", zunPC, {15, 200, 7, 8}, {30, 200, 7, 8}, R},
    {"PercentDifference", zundPC, {100, 80, 7, 8}, {25, 7, 8, 8}},
    {"PercentDifferenceFromZero",
     zundPC,
     {5, 0, 7, 8},
     {7, 8, 8, 8},
     0,
     zunDeg,
     "Divide by 0",
     true},
    {"ToPolar", zunToPol, {1, 1, 7, 8}, {1.4142135623730951, 45, 7, 8}, R},
    {"ToPolarNegativeX", zunToPol, {-1, 0, 0, 0}, {1, 180, 0, 0}, R},
    {"ToPolarOverflowKeepsAngle",
     zunToPol,
     {1.5e308, 1.5e308, 7, 8},
     {45, 7, 8, 8},
     R,
     zunDeg,
     "Overflow"},
    {"ToRectangular", zunToRect, {2, 30, 7, 8}, {1.7320508075688772, 1, 7, 8}, R},
    {"ToRectangularRightAngle", zunToRect, {2, 90, 7, 8}, {0, 2, 7, 8}},
    {"ToRectangularStraightAngle", zunToRect, {2, 180, 7, 8}, {-2, 0, 7, 8}},
    {"ToRectangular300Grads", zunToRect, {5, 300, 7, 8}, {0, -5, 7, 8}, 0, zunGrad},
    {"ToHMSHalfHour", zunToHMS, {1.5, 0, 0, 0}, {1.3, 0, 0, 0}, R},
    {"ToHMS", zunToHMS, {2.7625, 0, 0, 0}, {2.4545, 0, 0, 0}, R},
    {"ToHMSNegative", zunToHMS, {-2.7625, 0, 0, 0}, {-2.4545, 0, 0, 0}, R},
    {"ToHMSWholeMinuteHeldJustBelow", zunToHMS, {1.2, 0, 0, 0}, {1.12, 0, 0, 0}, R},
    {"ToHMSWholeHourHeldJustBelow", zunToHMS, {1.9999999999999998, 0, 0, 0}, {2, 0, 0, 0}, R},
    {"ToHoursHalf", zunToH, {1.3, 0, 0, 0}, {1.5, 0, 0, 0}, R},
    {"ToHoursSecondsAboveFifty", zunToH, {1.3059, 0, 0, 0}, {1.5163888888888889, 0, 0, 0}, R},
    {"ToHoursMinutesHeldJustBelow", zunToH, {1.15, 0, 0, 0}, {1.25, 0, 0, 0}, R},
    {"ToHoursSecondsOnly", zunToH, {0.005, 0, 0, 0}, {0.013888888888888889, 0, 0, 0}, R},
    {"ToHoursNegative", zunToH, {-2.4545, 0, 0, 0}, {-2.7625, 0, 0, 0}, R},
    {"ToHoursLargeValue", zunToH, {123456789.15, 0, 0, 0}, {123456789.25, 0, 0, 0}, R},
};

INSTANTIATE_TEST_SUITE_P(Table, Operations, ::testing::ValuesIn(kOpCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(OperationsSigns, ChangeSignOfZeroGivesNegativeZero) {
    TZunCalc z(1);
    z.ExecOp(zunCHS);
    EXPECT_TRUE(std::signbit(z.Stack[0]));
}

TEST(OperationsSigns, IntegerPartOfNegativeFractionIsPositiveZero) {
    TZunCalc z(1);
    z.Stack[0] = -0.5;
    z.ExecOp(zunInt);
    EXPECT_EQ(z.Stack[0], 0);
    EXPECT_FALSE(std::signbit(z.Stack[0]));
}

TEST(OperationsSum, ChangesOnlyLastXAndInput) {
    TZunCalc z(1);
    z.Stack = {5, 6, 7, 8};
    z.Reg[3] = 4;
    z.Input = false;
    z.ExecOp(zunSum);
    EXPECT_EQ(z.Stack, (Stack4{5, 6, 7, 8}));
    EXPECT_EQ(z.Reg[3], 4);
    EXPECT_EQ(z.LastX, 5);
    EXPECT_TRUE(z.Input);
}

class HmsRoundTrip : public ::testing::TestWithParam<double> {};

TEST_P(HmsRoundTrip, ToHoursUndoesToHMS) {
    TZunCalc z(1);
    z.Stack[0] = GetParam();
    z.ExecOp(zunToHMS);
    z.ExecOp(zunToH);
    EXPECT_NEAR(z.Stack[0], GetParam(), 1e-12 * std::max(1.0, std::fabs(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Values, HmsRoundTrip,
                         ::testing::Values(0.0, 1.5, 2.7625, -2.7625, 1.2, 0.1, 23.999, 12.345678,
                                           -0.0001, 100.75));

TEST(OperationsPower, LargeIntegralExponentUsesLogarithmRule) {
    TZunCalc z(1);
    z.Stack = {4294967296.0, -2, 0, 0}; // integral, but beyond 32 bits
    EXPECT_THROW(z.ExecOp(zunPwr), EInvalidOp);
    z.Stack = {4294967296.0, 1, 0, 0};
    z.ExecOp(zunPwr);
    EXPECT_EQ(z.Stack[0], 1);
}

TEST(OperationsPower, ExtendedIntermediateAvoidsOverflowBeforeReciprocal) {
    if (!HasExtendedPrecision()) {
        GTEST_SKIP() << "this CPU emulator computes long double with 64 bits only";
    }
    TZunCalc z(1);
    z.Stack = {-322, 10, 0, 0};
    z.ExecOp(zunPwr);
    EXPECT_TRUE(z.FError.empty());
    EXPECT_GT(z.Stack[0], 0);
    EXPECT_LT(z.Stack[0], 1e-321);
}

} // namespace
