#include "engine/decimal.h"
#include "precision.h"

#include <gtest/gtest.h>

#include <ostream>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

using namespace pellix;

namespace {

// The general conversion of the standard library, as reference.
template <typename Float>
std::string Reference(Float x) {
    char buf[64];
    auto res =
        std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific, 17);
    *res.ptr = '\0';
    std::string digits;
    const char* p = buf;
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    return digits + "e" + std::to_string(std::atoi(p + 1));
}

template <typename Float>
std::string Ours(Float x) {
    const DecimalDigits d = ToDecimal(x);
    return d.Digits + "e" + std::to_string(d.Exponent);
}

TEST(DecimalDigits, MatchesGeneralConversionForRandomDoubles) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-80, 80);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::ldexp(mantissa(rng), exponent(rng));
        ASSERT_EQ(Ours(x), Reference(x)) << x;
    }
}

TEST(DecimalDigits, MatchesGeneralConversionForRandomLongDoubles) {
    std::mt19937_64 rng(678);
    std::uniform_int_distribution<int> exponent(-70, 70);
    for (int i = 0; i < 200000; ++i) {
        // A full 64-bit mantissa exercises the digits a double cannot hold.
        const auto bits = rng() | (std::uint64_t(1) << 63);
        const long double x = std::ldexp(static_cast<long double>(bits), exponent(rng) - 63);
        ASSERT_EQ(Ours(x), Reference(x)) << static_cast<double>(x);
    }
}

TEST(DecimalDigits, ExactTiesGoToEven) {
    if (!HasExtendedPrecision()) {
        GTEST_SKIP() << "this CPU emulator computes long double with 64 bits only";
    }
    EXPECT_EQ(Ours(1000000000000000005.0L), "100000000000000000e18");
    EXPECT_EQ(Ours(1000000000000000015.0L), "100000000000000002e18");
    EXPECT_EQ(Ours(9999999999999999995.0L / 2 * 2), Reference(9999999999999999995.0L / 2 * 2));
    EXPECT_EQ(Ours(999999999999999999.5L), "100000000000000000e18");
}

TEST(DecimalDigits, ExtremesFallBackToGeneralConversion) {
    for (double x : {1e308, 5e-324, 1e-200, 1e19, 1.8446744073709552e19, 0.1, 1.0}) {
        EXPECT_EQ(Ours(x), Reference(x)) << x;
    }
}

struct RoundCase {
    const char* digits;
    int exponent;
    int keep;
    const char* expectDigits;
    int expectExponent;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const RoundCase& c) {
        return os << ::testing::PrintToString(c.digits);
    }
};

class RoundHalfUp : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfUp, RoundsAwayFromZeroAtKeptDigit) {
    const RoundCase& c = GetParam();
    DecimalDigits d;
    d.Zero = false;
    d.Digits = c.digits;
    d.Exponent = c.exponent;
    d.RoundHalfUp(c.keep);
    if (c.expectDigits == nullptr) {
        EXPECT_TRUE(d.Zero);
    } else {
        EXPECT_FALSE(d.Zero);
        EXPECT_EQ(d.Digits, c.expectDigits);
        EXPECT_EQ(d.Exponent, c.expectExponent);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundHalfUp,
    ::testing::Values(RoundCase{"125000000000000000", -1, 2, "13", -1},
                      RoundCase{"124999999999999999", -1, 2, "12", -1},
                      RoundCase{"999500000000000000", 2, 3, "100", 3},
                      RoundCase{"500000000000000000", -1, 0, "1", 0},
                      RoundCase{"499999999999999999", -1, 0, nullptr, 0},
                      RoundCase{"500000000000000000", -3, -1, nullptr, 0},
                      RoundCase{"123000000000000000", 0, 18, "123000000000000000", 0},
                      RoundCase{"123000000000000000", 0, 40, "123000000000000000", 0}));

} // namespace
