#include "engine/zuncalc.h"
#include "precision.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ostream>

using namespace pellix;

namespace {

// One operation on X = x and the double nearest to its exact result, which
// an arbitrary-precision reference computed (reference_values.py prints the
// rows). The same table runs on every platform: these are the arguments where
// C libraries part - large, tiny, beside multiples of pi/2, near the ends of
// the double range.
struct ReferenceCase {
    TZunOperation op;
    TZunTrigMode mode;
    double x;
    std::uint64_t expected; // bits of the double
    friend std::ostream& operator<<(std::ostream& os, const ReferenceCase& c) {
        char text[64];
        std::snprintf(text, sizeof text, "op %d mode %d x %a", static_cast<int>(c.op),
                      static_cast<int>(c.mode), c.x);
        return os << text;
    }
};

constexpr ReferenceCase ReferenceCases[] = {
    {zunSin, zunRad, 1e22, 0xbfeb453ab76bf397},
    {zunCos, zunRad, 1e22, 0x3fe0be2cef01c8f4},
    {zunSin, zunRad, 1e72, 0x3fdeeb240caecca3},
    {zunCos, zunRad, 1e72, 0xbfec049f20711b9a},
    {zunSin, zunRad, 1e300, 0xbfea2c16b010e385},
    {zunTan, zunRad, 1e300, 0x3ff6be411f37ac77},
    {zunCos, zunRad, 1.7976931348623157e308, 0xbfefffe62ecfab75},
    {zunSin, zunRad, 9223372036854775808.0, 0x3fefff6dfd42dc54},
    {zunTan, zunRad, -18446744073709551616.0, 0x3f982bee572e2ac9},
    {zunSin, zunRad, 5.319372648326541e255, 0x3ff0000000000000},
    {zunCos, zunRad, 5.319372648326541e255, 0xbc214ae72e6ba22f},
    {zunTan, zunRad, 5.319372648326541e255, 0xc3bd9ba9a7975636},
    {zunCos, zunRad, 1.5707963267948966, 0x3c91a62633145c07},
    {zunTan, zunRad, 1.5707963267948966, 0x434d02967c31cdb5},
    {zunSin, zunRad, 3.141592653589793, 0x3ca1a62633145c07},
    {zunSin, zunRad, 4.71238898038469, 0xbff0000000000000},
    {zunTan, zunRad, 474364606.7996022, 0xbe53daeaf976e788},
    {zunSin, zunRad, 355.0, 0xbeff9bd0307d1de3},
    {zunCos, zunRad, 0.7853981633974483, 0x3fe6a09e667f3bcd},
    {zunTan, zunRad, 0.7853981633974484, 0x3ff0000000000001},
    {zunSin, zunRad, -3782521.0, 0x3fe0603f51df1022},
    {zunSin, zunRad, 1234.5678, 0x3fb3fa00084ee3dd},
    {zunSin, zunRad, 1e-300, 0x01a56e1fc2f8f359},
    {zunCos, zunRad, 1e-300, 0x3ff0000000000000},
    {zunSin, zunRad, -0.0, 0x8000000000000000},
    {zunTan, zunRad, -0.0, 0x8000000000000000},
    {zunSin, zunRad, 5e-324, 0x0000000000000001},
    {zunSin, zunRad, 7.450580596923828e-09, 0x3e40000000000000},
    {zunCos, zunRad, 7.450580596923828e-09, 0x3ff0000000000000},
    {zunSin, zunDeg, 3782521.0, 0x3f91df0b2b89dd1e},
    {zunTan, zunDeg, 0.35, 0x3f79057748d30124},
    {zunCos, zunGrad, 1234.5678, 0x3feb65b9d94b5163},
    {zunInvSin, zunRad, 0.9999999999999999, 0x3ff921fb50442d18},
    {zunInvCos, zunRad, 0.9999999999999999, 0x3e50000000000000},
    {zunInvCos, zunRad, -0.9999999999999982, 0x400921fb4c442d18},
    {zunInvSin, zunRad, 1e-300, 0x01a56e1fc2f8f359},
    {zunInvTan, zunRad, 1e300, 0x3ff921fb54442d18},
    {zunInvTan, zunRad, 0.15, 0x3fc30ed367d7cd04},
    {zunExp, zunRad, 631.985996388433, 0x78eb2747a0c4a839},
    {zunExp, zunRad, 709.782712893384, 0x7fefffffffffff2a},
    {zunExp, zunRad, -744.44, 0x0000000000000001},
    {zunExp, zunRad, -708.4, 0x000ff15b469edf89},
    {zunExp, zunRad, 8.673617379884035e-19, 0x3ff0000000000000},
    {zunExp, zunRad, 90.85, 0x4820c83274adc448},
    {zunLn, zunRad, 1.0000000000000002, 0x3cafffffffffffff},
    {zunLn, zunRad, 1.7976931348623157e308, 0x40862e42fefa39ef},
    {zunLog10, zunRad, 2.5e-199, 0xc068d34413509f7a},
    {zunLog10, zunRad, 0.9999999999999999, 0xbc8bcb7b1526e50f},
    {zunPwr10, zunRad, 0.5, 0x40094c583ada5b53},
    {zunPwr10, zunRad, -2.4, 0x3f704e74cc73ee88},
};

std::uint64_t Bits(double d) {
    std::uint64_t b = 0;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

class ReferenceValues : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceValues, AreTheNearestDoubles) {
#ifndef _WIN32
    // On Windows the C runtime's start-up must leave the x87 at 64 bits: no skip there.
    if (!HasExtendedPrecision()) {
        GTEST_SKIP() << "this CPU emulator computes long double with 64 bits only";
    }
#endif
    const ReferenceCase& c = GetParam();
    TZunCalc z(1);
    z.TrigMode = c.mode;
    z.Stack[0] = c.x;
    z.ExecOp(c.op);
    ASSERT_EQ(z.FError, "");
    char got[32];
    char want[32];
    std::snprintf(got, sizeof got, "%016" PRIx64, Bits(z.Stack[0]));
    std::snprintf(want, sizeof want, "%016" PRIx64, c.expected);
    EXPECT_STREQ(got, want);
}

INSTANTIATE_TEST_SUITE_P(Table, ReferenceValues, ::testing::ValuesIn(ReferenceCases));

} // namespace
