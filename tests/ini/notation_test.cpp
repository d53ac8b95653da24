#include "ini/ininotation.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace pellix {
namespace {

// ---- Integers ----

struct IntCase {
    const char* Text;
    std::optional<std::int32_t> Expected;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const IntCase& c) {
        return os << ::testing::PrintToString(c.Text);
    }
};

class IniIntegerOfTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntegerOfTest, ReadsDecimalAndHexWithinSigned32Bits) {
    EXPECT_EQ(IniIntegerOf(GetParam().Text), GetParam().Expected) << '"' << GetParam().Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniIntegerOfTest,
    ::testing::Values(
        IntCase{"0", 0}, IntCase{"42", 42}, IntCase{"-7", -7}, IntCase{"+7", 7}, IntCase{"007", 7},
        IntCase{"-0", 0}, IntCase{"2147483647", 2147483647},
        IntCase{"-2147483648", std::numeric_limits<std::int32_t>::min()},
        IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
        IntCase{"99999999999999999999999", std::nullopt},
        // hexadecimal forms
        IntCase{"0x1F", 31}, IntCase{"0X1f", 31}, IntCase{"0x1", 1}, IntCase{"$FF", 255},
        IntCase{"$ff", 255}, IntCase{"$7FFFFFFF", 2147483647}, IntCase{"0x7fffffff", 2147483647},
        IntCase{"$80000000", std::nullopt}, IntCase{"0xFFFFFFFF", std::nullopt},
        IntCase{"$00000000000000000001", 1},
        // "0x" itself is only two characters long, so it is read as decimal
        IntCase{"0x", std::nullopt}, IntCase{"$", std::nullopt}, IntCase{"$-1", std::nullopt},
        IntCase{"0x-1", std::nullopt}, IntCase{"0x+1", std::nullopt},
        IntCase{"-0x10", std::nullopt}, IntCase{"$1G", std::nullopt}, IntCase{"0x 1", std::nullopt},
        // unreadable
        IntCase{"", std::nullopt}, IntCase{"-", std::nullopt}, IntCase{"+", std::nullopt},
        IntCase{"+-1", std::nullopt}, IntCase{"--1", std::nullopt}, IntCase{"12a", std::nullopt},
        IntCase{"1.5", std::nullopt}, IntCase{"1e3", std::nullopt}, IntCase{" 5", std::nullopt},
        IntCase{"5 ", std::nullopt}, IntCase{"abc", std::nullopt},
        IntCase{"\xEF\xBC\x95", std::nullopt} /* fullwidth 5 */));

TEST(IniIntegerText, WritesDecimalWithMinusWhenNegative) {
    EXPECT_EQ(IniIntegerText(0), "0");
    EXPECT_EQ(IniIntegerText(-1), "-1");
    EXPECT_EQ(IniIntegerText(427), "427");
    EXPECT_EQ(IniIntegerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(IniIntegerText(std::numeric_limits<std::int32_t>::max()), "2147483647");
}

// ---- Float texts ----

struct FloatTextCase {
    double Value;
    const char* Sep;
    const char* Expected;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const FloatTextCase& c) {
        return os << ::testing::PrintToString(c.Value);
    }
};

class IniFloatTextTest : public ::testing::TestWithParam<FloatTextCase> {};

TEST_P(IniFloatTextTest, WritesGeneralFormWithTheShortestExactDigits) {
    EXPECT_EQ(IniFloatText(GetParam().Value, GetParam().Sep), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniFloatTextTest,
    ::testing::Values(
        FloatTextCase{1.0 / 3, ".", "0.3333333333333333"},
        FloatTextCase{2.0 / 3, ".", "0.6666666666666666"},
        FloatTextCase{0.1 + 0.2, ".", "0.30000000000000004"}, FloatTextCase{-1, ".", "-1"},
        FloatTextCase{1.1, ".", "1.1"}, FloatTextCase{0, ".", "0"}, FloatTextCase{-0.0, ".", "-0"},
        FloatTextCase{100, ".", "100"}, FloatTextCase{-123.456, ".", "-123.456"},
        FloatTextCase{0.000123, ".", "0.000123"},
        // the fixed-point range ends at 0.00001 below and 15 integer digits above
        FloatTextCase{0.00001, ".", "0.00001"}, FloatTextCase{0.0000099, ".", "9.9E-6"},
        FloatTextCase{123456789012345, ".", "123456789012345"},
        FloatTextCase{999999999999999.4, ".", "999999999999999.4"},
        FloatTextCase{1e15, ".", "1E15"}, FloatTextCase{9999999999999999.0, ".", "1E16"},
        FloatTextCase{1234567890123456, ".", "1.234567890123456E15"},
        FloatTextCase{0.0000099999999999999999, ".", "9.999999999999999E-6"},
        FloatTextCase{1e20, ".", "1E20"}, FloatTextCase{-1e20, ".", "-1E20"},
        FloatTextCase{1.5e-10, ".", "1.5E-10"},
        FloatTextCase{1.23456789012345678e100, ".", "1.2345678901234569E100"},
        FloatTextCase{std::numeric_limits<double>::max(), ".", "1.7976931348623157E308"},
        FloatTextCase{-1.7976931348623150e308, ".", "-1.797693134862315E308"},
        FloatTextCase{std::numeric_limits<double>::denorm_min(), ".", "5E-324"},
        // the separator is the one passed in, also a multibyte one
        FloatTextCase{1234.5, ",", "1234,5"}, FloatTextCase{-0.25, ",", "-0,25"},
        FloatTextCase{1.5e-10, ",", "1,5E-10"},
        FloatTextCase{2.5, "\xD9\xAB",
                      "2\xD9\xAB"
                      "5"},
        FloatTextCase{2.5, "", "2.5"},
        // non-finite values get texts that no reader accepts
        FloatTextCase{std::numeric_limits<double>::quiet_NaN(), ".", "NAN"},
        FloatTextCase{std::numeric_limits<double>::infinity(), ".", "INF"},
        FloatTextCase{-std::numeric_limits<double>::infinity(), ",", "-INF"}));

// ---- Reading float texts ----

struct FloatOfCase {
    const char* Text;
    const char* Sep;
    std::optional<double> Expected;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const FloatOfCase& c) {
        return os << ::testing::PrintToString(c.Text);
    }
};

class IniFloatOfTest : public ::testing::TestWithParam<FloatOfCase> {};

TEST_P(IniFloatOfTest, ReadsTheLocaleNotationOrAPlainNumberWithTheOtherSeparator) {
    EXPECT_EQ(IniFloatOf(GetParam().Text, GetParam().Sep), GetParam().Expected)
        << '"' << GetParam().Text << "\" with separator \"" << GetParam().Sep << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniFloatOfTest,
    ::testing::Values(
        FloatOfCase{"1.5", ".", 1.5}, FloatOfCase{"1,5", ",", 1.5}, FloatOfCase{"-1", ".", -1.0},
        FloatOfCase{"+2", ".", 2.0}, FloatOfCase{".5", ".", 0.5}, FloatOfCase{"-.5", ".", -0.5},
        FloatOfCase{"5.", ".", 5.0}, FloatOfCase{"1E3", ".", 1000.0},
        FloatOfCase{"1e-3", ".", 0.001}, FloatOfCase{"2.5E+2", ".", 250.0},
        FloatOfCase{"1,5E-10", ",", 1.5e-10},
        FloatOfCase{"2\xD9\xAB"
                    "5",
                    "\xD9\xAB", 2.5},
        FloatOfCase{"2.5", "", 2.5}, FloatOfCase{"007", ".", 7.0},
        // a whole number reads under any separator
        FloatOfCase{"12", ",", 12.0},
        // a file written under other regional settings
        FloatOfCase{"0,5", ".", 0.5}, FloatOfCase{"0.5", ",", 0.5},
        FloatOfCase{"-1,5E-10", ".", -1.5e-10}, FloatOfCase{"2.5", "\xD9\xAB", 2.5},
        FloatOfCase{"2,5", "\xD9\xAB", 2.5},
        // but never a mix of the two or a grouped number
        FloatOfCase{"1,000.5", ".", std::nullopt}, FloatOfCase{"1.000,5", ",", std::nullopt},
        FloatOfCase{"1,5,0", ".", std::nullopt},
        FloatOfCase{"2\xD9\xAB"
                    "5",
                    ".", std::nullopt},
        // malformed
        FloatOfCase{"", ".", std::nullopt}, FloatOfCase{".", ".", std::nullopt},
        FloatOfCase{"-", ".", std::nullopt}, FloatOfCase{"1E", ".", std::nullopt},
        FloatOfCase{"1E+", ".", std::nullopt}, FloatOfCase{"E5", ".", std::nullopt},
        FloatOfCase{"--1", ".", std::nullopt}, FloatOfCase{"1.5.5", ".", std::nullopt},
        FloatOfCase{" 1", ".", std::nullopt}, FloatOfCase{"1 ", ".", std::nullopt},
        FloatOfCase{"1e5x", ".", std::nullopt}, FloatOfCase{"0x10", ".", std::nullopt},
        FloatOfCase{"INF", ".", std::nullopt}, FloatOfCase{"-INF", ".", std::nullopt},
        FloatOfCase{"inf", ".", std::nullopt}, FloatOfCase{"NAN", ".", std::nullopt},
        FloatOfCase{"nan", ".", std::nullopt},
        // outside the double range
        FloatOfCase{"1E400", ".", std::nullopt}, FloatOfCase{"-1E400", ".", std::nullopt},
        FloatOfCase{"1E-400", ".", std::nullopt},
        FloatOfCase{"1E99999999999999999999", ".", std::nullopt}));

TEST(IniFloatOf, KeepsTheSignOfNegativeZero) {
    const auto v = IniFloatOf("-0", ".");
    ASSERT_TRUE(v);
    EXPECT_TRUE(std::signbit(*v));
}

TEST(IniFloatOf, RejectsAnEmbeddedNul) {
    EXPECT_FALSE(IniFloatOf(std::string_view("1\0"
                                             "5",
                                             3),
                            "."));
    EXPECT_FALSE(IniFloatOf(std::string_view("1.5\0", 4), "."));
}

TEST(IniFloatOf, ReadsAHugeDigitString) {
    const std::string digits(5000, '9');
    EXPECT_EQ(IniFloatOf("0." + digits, "."), 1.0);
    EXPECT_FALSE(IniFloatOf(digits + digits + digits + digits, "."));
}

// ---- Round trips ----

class IniFloatRoundTrip : public ::testing::TestWithParam<double> {};

TEST_P(IniFloatRoundTrip, ComesBackIdentical) {
    const double x = GetParam();
    for (const char* sep : {".", ",", "\xE2\x80\xA4"}) {
        const auto back = IniFloatOf(IniFloatText(x, sep), sep);
        ASSERT_TRUE(back) << IniFloatText(x, sep);
        EXPECT_EQ(std::memcmp(&*back, &x, sizeof x), 0) << IniFloatText(x, sep);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, IniFloatRoundTrip,
                         ::testing::Values(0.0, -0.0, 1.0, -1.0, 1.1, 0.1, 427.0, 1e-5, 9.9e-6,
                                           123456789012345.0, 1e15, 1e20, 1.5e-10, 1e308,
                                           1.79769313486231e308, 2.2250738585072e-308,
                                           4.94065645841247e-324, 3.14159265358979,
                                           -2.71828182845905e-100));

TEST(IniFloatRoundTrip, RandomFifteenDigitDecimalsComeBackIdentical) {
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<std::int64_t> mantissa(1, 999999999999999);
    std::uniform_int_distribution<int> exponent(-320, 300);
    for (int i = 0; i < 20000; ++i) {
        const std::string text =
            std::to_string(mantissa(rng)) + "e" + std::to_string(exponent(rng));
        double x = 0;
        std::from_chars(text.data(), text.data() + text.size(), x);
        if (i % 2)
            x = -x;
        const auto back = IniFloatOf(IniFloatText(x, "."), ".");
        ASSERT_TRUE(back) << text;
        ASSERT_EQ(*back, x) << text << " written as " << IniFloatText(x, ".");
    }
}

TEST(IniFloatRoundTrip, ArbitraryDoubleComesBackIdenticalInItsShortestText) {
    std::mt19937_64 rng(77);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = rng();
        double x = 0;
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x))
            continue;
        for (const char* sep : {".", ","}) {
            const std::string text = IniFloatText(x, sep);
            const auto back = IniFloatOf(text, sep);
            ASSERT_TRUE(back) << text;
            ASSERT_EQ(std::memcmp(&*back, &x, sizeof x), 0) << text;
            char buf[64];
            const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific);
            const std::string_view shortest(buf, static_cast<std::size_t>(r.ptr - buf));
            const auto digits = [](std::string_view t) {
                const std::size_t e = t.find_first_of("eE");
                return std::count_if(t.begin(), e == t.npos ? t.end() : t.begin() + long(e),
                                     [](char c) { return c >= '1' && c <= '9'; });
            };
            ASSERT_EQ(digits(text), digits(shortest)) << text << " vs " << shortest;
        }
    }
}

TEST(IniFloatRoundTrip, LargestDoublesStayFinite) {
    for (double x : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                     std::nextafter(std::numeric_limits<double>::max(), 0.0)}) {
        const auto back = IniFloatOf(IniFloatText(x, "."), ".");
        ASSERT_TRUE(back) << IniFloatText(x, ".");
        EXPECT_TRUE(std::isfinite(*back));
        EXPECT_EQ(*back, x);
    }
}

TEST(IniFloatRoundTrip, NonFiniteValuesReadBackAsTheDefault) {
    for (double x :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(IniFloatOf(IniFloatText(x, "."), ".")) << x;
}

} // namespace
} // namespace pellix
