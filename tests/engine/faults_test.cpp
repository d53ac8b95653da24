#include "engine/zuncalc.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace pellix;

namespace {

using Stack4 = std::array<double, 4>;

struct InvalidCase {
    const char* name;
    TZunOperation op;
    Stack4 before;
    Stack4 after; // operands removed, nothing pushed
};

std::ostream& operator<<(std::ostream& os, const InvalidCase& c) {
    return os << c.name;
}

class InvalidOperation : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidOperation, PassesFaultOnWithOperandsRemoved) {
    const InvalidCase& c = GetParam();
    TZunCalc z(1);
    z.Stack = c.before;
    z.Input = false;
    z.FError = "stale";
    try {
        z.ExecOp(c.op);
        FAIL() << "expected EInvalidOp";
    } catch (const EInvalidOp& e) {
        EXPECT_STREQ(e.what(), "Ung\u00fcltige Gleitkommaoperation");
    }
    EXPECT_EQ(z.Stack, c.after);
    EXPECT_TRUE(z.FError.empty());
    EXPECT_FALSE(z.Input) << "a passed-on fault leaves Input unchanged";
    EXPECT_EQ(z.LastX, c.before[0]);
}

const InvalidCase kInvalidCases[] = {
    {"ArcsineOfTwo", zunInvSin, {2, 1, 2, 3}, {1, 2, 3, 3}},
    {"ArccosineBelowMinusOne", zunInvCos, {-1.5, 1, 2, 3}, {1, 2, 3, 3}},
    {"SquareRootOfMinusOne", zunSqrt, {-1, 1, 2, 3}, {1, 2, 3, 3}},
    {"CubeRootOfNegativeBase", zunPwr, {1.0 / 3, -8, 2, 3}, {2, 3, 3, 3}},
    {"LnOfNegative", zunLn, {-1, 1, 2, 3}, {1, 2, 3, 3}},
    {"LogOfNegative", zunLog10, {-1, 1, 2, 3}, {1, 2, 3, 3}},
    {"IntegerPartBeyond64Bits", zunInt, {1e19, 1, 2, 3}, {1, 2, 3, 3}},
    {"IntegerPartAtTwoTo63", zunInt, {9223372036854775808.0, 1, 2, 3}, {1, 2, 3, 3}},
    {"FractionalPartBeyond64Bits", zunFrac, {-1e19, 1, 2, 3}, {1, 2, 3, 3}},
    {"FactorialBeyond64Bits", zunFact, {1e19, 1, 2, 3}, {1, 2, 3, 3}},
    {"ToHoursBeyond64Bits", zunToH, {1e19, 1, 2, 3}, {1, 2, 3, 3}},
    {"PercentDifferenceZeroByZero", zundPC, {0, 0, 2, 3}, {2, 3, 3, 3}},
};

INSTANTIATE_TEST_SUITE_P(Table, InvalidOperation, ::testing::ValuesIn(kInvalidCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(HandledFault, InputKeepsItsValueWhenNothingWasPushed) {
    TZunCalc z(1);
    z.Stack = {171, 1, 2, 3};
    z.Input = false;
    z.ExecOp(zunFact);
    EXPECT_EQ(z.FError, "Overflow");
    EXPECT_FALSE(z.Input);
    EXPECT_EQ(z.LastX, 171);
}

TEST(HandledFault, ToPolarKeepsPushedAngleAndInput) {
    TZunCalc z(1);
    z.Stack = {1.5e308, -1.5e308, 7, 8};
    z.Input = false;
    z.ExecOp(zunToPol);
    EXPECT_EQ(z.FError, "Overflow");
    EXPECT_DOUBLE_EQ(z.Stack[0], -45);
    EXPECT_TRUE(z.Input) << "the angle's push set Input";
}

TEST(HandledFault, ZeroDivideFromPowerBecomesErrorText) {
    TZunCalc z(1);
    z.Stack = {-3, 0, 5, 6};
    z.ExecOp(zunPwr);
    EXPECT_EQ(z.FError, "Divide by 0");
    EXPECT_EQ(z.Stack, (Stack4{5, 6, 6, 6}));
    EXPECT_EQ(z.LastX, -3);
}

TEST(HandledFault, ErrorTextShownOnceInEveryMode) {
    for (TZunMode mode : {zunFix, zunSci, zunEng}) {
        TZunCalc z(1);
        z.Mode = mode;
        z.Stack = {0, 1, 0, 0};
        z.ExecOp(zunDiv);
        EXPECT_EQ(z.Display(), "Divide by 0");
        EXPECT_NE(z.Display(), "Divide by 0");
    }
}

TEST(HandledFault, NextOperationClearsPendingErrorText) {
    TZunCalc z(1);
    z.FError = "Overflow";
    z.Stack = {1, 2, 0, 0};
    z.ExecOp(zunAdd);
    EXPECT_TRUE(z.FError.empty());
    EXPECT_EQ(z.Stack[0], 3);
}

TEST(FaultMessages, ExactTexts) {
    EXPECT_STREQ(EZeroDivide().what(), "Gleitkommadivision durch Null");
    EXPECT_STREQ(EOverflow().what(), "Gleitkomma\u00fcberlauf");
    EXPECT_STREQ(EInvalidOp().what(), "Ung\u00fcltige Gleitkommaoperation");
}

TEST(NonFiniteOperands, FromEditedFileNeverCrashAndReportFaults) {
    // A hand-edited settings file may put infinities or NaN on the stack.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int op = 0; op < ZunOperationCount; ++op) {
        for (double v : {inf, -inf, nan}) {
            TZunCalc z(1);
            z.Stack = {v, v, v, v};
            try {
                z.ExecOp(static_cast<TZunOperation>(op));
            } catch (const EMathError&) {
            }
            EXPECT_FALSE(z.Display().empty());
        }
    }
    TZunCalc z(1);
    z.Stack = {nan, 1, 0, 0};
    EXPECT_THROW(z.ExecOp(zunAdd), EInvalidOp);
    z.Stack = {inf, 1, 0, 0};
    z.ExecOp(zunAdd);
    EXPECT_EQ(z.FError, "Overflow");
}

} // namespace
