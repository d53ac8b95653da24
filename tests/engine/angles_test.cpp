#include "engine/zuncalc.h"
#include "precision.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <ostream>
#include <string>

using namespace pellix;

namespace {

// Stands for the error text "Overflow" among the expected values.
constexpr double Overflows = std::numeric_limits<double>::infinity();

// X after op on X = x, or Overflows when the operation ended with "Overflow".
double Result(TZunOperation op, TZunTrigMode mode, double x) {
    TZunCalc z(1);
    z.TrigMode = mode;
    z.Stack[0] = x;
    z.ExecOp(op);
    if (z.FError == SOverflow) {
        return Overflows;
    }
    EXPECT_EQ(z.FError, "");
    return z.Stack[0];
}

// k right angles: sin, cos and tan are exactly 0, +-1 or beyond every double.
struct RightAngles {
    TZunTrigMode mode;
    double quarter; // units of a right angle
    double k;
    friend std::ostream& operator<<(std::ostream& os, const RightAngles& c) {
        return os << c.k << " x " << c.quarter;
    }
};

class RightAngleMultiples : public ::testing::TestWithParam<RightAngles> {};

TEST_P(RightAngleMultiples, GiveExactValues) {
    const RightAngles& c = GetParam();
    const double angle = c.k * c.quarter;
    ASSERT_EQ(angle / c.quarter, c.k) << "the angle must be exact";
    const auto n = static_cast<std::size_t>((static_cast<int>(std::fmod(c.k, 4)) + 4) % 4);
    constexpr std::array<double, 4> sine = {0, 1, 0, -1};
    constexpr std::array<double, 4> cosine = {1, 0, -1, 0};
    constexpr std::array<double, 4> tangent = {0, Overflows, 0, Overflows};
    EXPECT_EQ(Result(zunSin, c.mode, angle), sine[n]);
    EXPECT_EQ(Result(zunCos, c.mode, angle), cosine[n]);
    EXPECT_EQ(Result(zunTan, c.mode, angle), tangent[n]);
}

constexpr double Big = 70368744177664; // 2^46: times 400 still an exact integer

INSTANTIATE_TEST_SUITE_P(
    Table, RightAngleMultiples,
    ::testing::Values(RightAngles{zunDeg, 90, 0}, RightAngles{zunDeg, 90, 1},
                      RightAngles{zunDeg, 90, 2}, RightAngles{zunDeg, 90, 3},
                      RightAngles{zunDeg, 90, 4}, RightAngles{zunDeg, 90, -1},
                      RightAngles{zunDeg, 90, -2}, RightAngles{zunDeg, 90, -7},
                      RightAngles{zunDeg, 90, 42029}, RightAngles{zunDeg, 90, Big + 1},
                      RightAngles{zunDeg, 90, -Big - 2}, RightAngles{zunDeg, 90, 1e17},
                      RightAngles{zunGrad, 100, 1}, RightAngles{zunGrad, 100, 2},
                      RightAngles{zunGrad, 100, 3}, RightAngles{zunGrad, 100, -1},
                      RightAngles{zunGrad, 100, 37825}, RightAngles{zunGrad, 100, Big + 3},
                      RightAngles{zunGrad, 100, 1e17}));

struct AngleCase {
    const char* name;
    TZunOperation op;
    TZunTrigMode mode;
    double angle;
    double expected; // exactly
};

std::ostream& operator<<(std::ostream& os, const AngleCase& c) {
    return os << c.name;
}

class AngleValues : public ::testing::TestWithParam<AngleCase> {};

TEST_P(AngleValues, AreCorrectlyRounded) {
    if (!HasExtendedPrecision()) {
        GTEST_SKIP() << "long double runs with a 53-bit significand here";
    }
    const AngleCase& c = GetParam();
    EXPECT_EQ(Result(c.op, c.mode, c.angle), c.expected);
}

// Exact values of the sine table, and values rounded from an arbitrary-precision
// reference (angles whose true value is far from a rounding boundary).
const AngleCase kAngleCases[] = {
    {"Sine30", zunSin, zunDeg, 30, 0.5},
    {"Sine150", zunSin, zunDeg, 150, 0.5},
    {"SineMinus30", zunSin, zunDeg, -30, -0.5},
    {"Cosine60", zunCos, zunDeg, 60, 0.5},
    {"Cosine240", zunCos, zunDeg, 240, -0.5},
    {"Tangent45", zunTan, zunDeg, 45, 1},
    {"Tangent135", zunTan, zunDeg, 135, -1},
    {"Tangent225", zunTan, zunDeg, -135, 1},
    {"Tangent50Grads", zunTan, zunGrad, 50, 1},
    {"Tangent350Grads", zunTan, zunGrad, 350, -1},
    {"Sine1", zunSin, zunDeg, 1, 0x1.1df0b2b89dd1ep-6},
    {"Sine3782521IsSine1", zunSin, zunDeg, 3782521, 0x1.1df0b2b89dd1ep-6},
    {"SineMinus3782519IsSine1", zunSin, zunDeg, -3782519, 0x1.1df0b2b89dd1ep-6},
    {"Sine5221Point49619", zunSin, zunDeg, 5221.49619, -0x1.abcb43f85a1c1p-6},
    {"TangentMinus3600Point75", zunTan, zunDeg, -3600.75, -0x1.acf4e4e159df0p-7},
    {"Sine1e20", zunSin, zunDeg, 1e20, -0x1.f838b8c811c17p-1},
    {"CosineOfLargeFraction", zunCos, zunDeg, 123456789.125, -0x1.f9853eb4f557cp-1},
    {"Sine1Grad", zunSin, zunGrad, 1, 0x1.0159438a60e6fp-6},
    {"SineOf1GradPlus2To40Turns", zunSin, zunGrad, 400 * 1099511627776.0 + 1, 0x1.0159438a60e6fp-6},
    {"Tangent49Point5Grads", zunTan, zunGrad, 49.5, 0x1.f80520e5f1ed4p-1},
};

INSTANTIATE_TEST_SUITE_P(Table, AngleValues, ::testing::ValuesIn(kAngleCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(AngleZeros, SineAndTangentAreOddCosineZerosArePositive) {
    EXPECT_FALSE(std::signbit(Result(zunSin, zunDeg, 180)));
    EXPECT_TRUE(std::signbit(Result(zunSin, zunDeg, -180)));
    EXPECT_TRUE(std::signbit(Result(zunTan, zunGrad, -200)));
    EXPECT_TRUE(std::signbit(Result(zunSin, zunDeg, -0.0)));
    EXPECT_FALSE(std::signbit(Result(zunCos, zunDeg, 90)));
    EXPECT_FALSE(std::signbit(Result(zunCos, zunDeg, -270)));
}

} // namespace
