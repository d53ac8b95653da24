#include "engine/zuncalc.h"

#include <gtest/gtest.h>

using namespace pellix;

namespace {

void SetStack(TZunCalc& z, double x, double y, double zz, double t) {
    z.Stack = {x, y, zz, t};
}

} // namespace

TEST(EngineState, FreshEngineHasDocumentedDefaults) {
    TZunCalc z(1);
    EXPECT_EQ(z.Stack, (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_EQ(z.Reg, (std::array<double, 10>{}));
    EXPECT_TRUE(z.Input);
    EXPECT_EQ(z.Mode, zunFix);
    EXPECT_EQ(z.TrigMode, zunDeg);
    EXPECT_EQ(z.FixLen, 9);
    EXPECT_EQ(z.LastX, 0);
    EXPECT_TRUE(z.FError.empty());
    EXPECT_EQ(z.Display(), "0.000000000");
}

TEST(EngineStack, PopOnFreshEngineReturnsZeroAndKeepsZeros) {
    TZunCalc z(1);
    EXPECT_EQ(z.Pop(), 0);
    EXPECT_EQ(z.Stack, (std::array<double, 4>{0, 0, 0, 0}));
}

TEST(EngineStack, PopsDuplicateT) {
    TZunCalc z(1);
    SetStack(z, 1, 2, 3, 4);
    EXPECT_EQ(z.Pop(), 1);
    EXPECT_EQ(z.Stack, (std::array<double, 4>{2, 3, 4, 4}));
    EXPECT_EQ(z.Pop(), 2);
    EXPECT_EQ(z.Pop(), 3);
    EXPECT_EQ(z.Pop(), 4);
    EXPECT_EQ(z.Stack, (std::array<double, 4>{4, 4, 4, 4}));
    EXPECT_EQ(z.Pop(), 4);
}

TEST(EngineStack, PushLosesOldT) {
    TZunCalc z(1);
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0}) {
        z.Push(v);
    }
    EXPECT_EQ(z.Stack, (std::array<double, 4>{5, 4, 3, 2}));
}

TEST(EngineStack, PushSetsInputPopLeavesIt) {
    TZunCalc z(1);
    z.Input = false;
    z.Pop();
    EXPECT_FALSE(z.Input);
    z.Push(7);
    EXPECT_TRUE(z.Input);
}

TEST(EngineStack, PushAndPopNeverTouchLastX) {
    TZunCalc z(1);
    z.LastX = 42;
    z.Push(1);
    z.Pop();
    EXPECT_EQ(z.LastX, 42);
}

class LastXRule : public ::testing::TestWithParam<int> {};

TEST_P(LastXRule, EveryOperationButLastXSavesOldX) {
    const auto op = static_cast<TZunOperation>(GetParam());
    TZunCalc z(7);
    SetStack(z, 0.25, 2, 3, 4);
    z.LastX = -99;
    try {
        z.ExecOp(op);
    } catch (const EMathError&) {
        // the rule holds for failing operations too
    }
    EXPECT_EQ(z.LastX, op == zunLastX ? -99 : 0.25);
}

INSTANTIATE_TEST_SUITE_P(AllOperations, LastXRule, ::testing::Range(0, ZunOperationCount));

TEST(LastXRuleFaults, FailingOperationsStillSaveOldX) {
    TZunCalc z(1);
    SetStack(z, -1, 0, 0, 0);
    EXPECT_THROW(z.ExecOp(zunSqrt), EInvalidOp);
    EXPECT_EQ(z.LastX, -1);
    SetStack(z, 0, 5, 0, 0);
    z.ExecOp(zunDiv);
    EXPECT_EQ(z.LastX, 0);
    EXPECT_EQ(z.FError, "Divide by 0");
}

TEST(EngineRandom, LinearCongruentialSequenceFromSeed) {
    TZunCalc z(0);
    z.ExecOp(zunRandom);
    EXPECT_EQ(z.Stack[0], 1.0 / 4294967296.0);
    z.ExecOp(zunRandom);
    EXPECT_EQ(z.Stack[0], 134775814.0 / 4294967296.0);
    EXPECT_EQ(z.Stack[1], 1.0 / 4294967296.0);
}

TEST(EngineRandom, ValuesStayInUnitInterval) {
    TZunCalc z(0xFFFFFFFFu);
    for (int i = 0; i < 1000; ++i) {
        z.ExecOp(zunRandom);
        ASSERT_GE(z.Stack[0], 0.0);
        ASSERT_LT(z.Stack[0], 1.0);
    }
}

TEST(EngineRandom, ClockSeededEnginesDiffer) {
    // Two engines created a moment apart start from different counter values.
    TZunCalc a;
    TZunCalc b;
    for (int i = 0; i < 1000 && a.RandSeed == b.RandSeed; ++i) {
        b = TZunCalc();
    }
    EXPECT_NE(a.RandSeed, b.RandSeed);
}
