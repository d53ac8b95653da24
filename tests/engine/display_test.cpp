#include "engine/display.h"
#include "engine/zuncalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

using namespace pellix;

namespace {

const Separators kUs{".", ","};
const Separators kGerman{",", "."};
const Separators kNoGroup{".", ""};

struct DisplayCase {
    double x;
    int n;
    const char* fix;
    const char* sci;
    const char* eng;
    Separators sep = kUs;
};

std::ostream& operator<<(std::ostream& os, const DisplayCase& c) {
    return os << "x=" << c.x << " n=" << c.n;
}

std::string Show(double x, TZunMode mode, int n, const Separators& sep) {
    TZunCalc z(1);
    z.Stack[0] = x;
    z.Mode = mode;
    z.FixLen = n;
    z.Regional = sep;
    return z.Display();
}

class DisplayForms : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayForms, FixSciAndEngTexts) {
    const DisplayCase& c = GetParam();
    EXPECT_EQ(Show(c.x, zunFix, c.n, c.sep), c.fix);
    EXPECT_EQ(Show(c.x, zunSci, c.n, c.sep), c.sci);
    EXPECT_EQ(Show(c.x, zunEng, c.n, c.sep), c.eng);
}

const DisplayCase kDisplayCases[] = {
    // The reference table (n = 9).
    {0, 9, "0.000000000", "0.00000000E+000", "0.000000000E0"},
    {1234.5, 9, "1,234.500000000", "1.23450000E+003", "1.234500000E3"},
    {-0.00012345, 9, "-0.000123450", "-1.23450000E-004", "-123.450000000E-6"},
    {0.5, 9, "0.500000000", "5.00000000E-001", "500.000000000E-3"},
    {1e12, 9, "1.00000000E+012", "1.00000000E+012", "1.000000000E12"},
    {1e-11, 9, "0.000000000", "1.00000000E-011", "10.000000000E-12"},
    {1234.5, 2, "1,234.50", "1.2E+003", "1.23E3"},
    {1234.5, 0, "1,235", "1.2E+003", "1E3"},
    {1234.5, 1, "1,234.5", "1.2E+003", "1.2E3"},
    // The fixed range ends at 1e12 and at 1e-12.
    {999999999999, 9, "999,999,999,999.000000000", "1.00000000E+012", "999.999999999E9"},
    {1e-12, 9, "1.00000000E-012", "1.00000000E-012", "1.000000000E-12"},
    {1e-13, 9, "1.00000000E-013", "1.00000000E-013", "100.000000000E-15"},
    {-1e12, 2, "-1.0E+012", "-1.0E+012", "-1.00E12"},
    // Zero test: values this small are zero for the fixed range and the ENG exponent.
    {1e-200, 9, "0.000000000", "1.00000000E-200", "0.000000000E0"},
    {-1e-200, 9, "0.000000000", "-1.00000000E-200", "-0.000000000E0"},
    // Negative zero.
    {-0.0, 9, "0.000000000", "0.00000000E+000", "-0.000000000E0"},
    // 18 significant digits first, then half away from zero.
    {0.125, 2, "0.13", "1.3E-001", "125.00E-3"},
    {1.005, 2, "1.00", "1.0E+000", "1.00E0"},
    {2.5, 0, "3", "2.5E+000", "3E0"},
    {-2.5, 0, "-3", "-2.5E+000", "-3E0"},
    {-0.004, 2, "0.00", "-4.0E-003", "-4.00E-3"},
    // Carries add a digit in front.
    {9.9999, 2, "10.00", "1.0E+001", "10.00E0"},
    {999999.999, 2, "1,000,000.00", "1.0E+006", "1000.00E3"},
    {999.9999999996, 9, "1,000.000000000", "1.00000000E+003", "1000.000000000E0"},
    {0.99999999, 9, "0.999999990", "9.99999990E-001", "0.999999990E0"},
    {0.001, 9, "0.001000000", "1.00000000E-003", "1.000000000E-3"},
    // Range ends of the double.
    {1e308, 9, "1.00000000E+308", "1.00000000E+308", "100.000000000E306"},
    {std::numeric_limits<double>::max(), 4, "1.798E+308", "1.798E+308", "179.7693E306"},
    {1e-320, 9, "0.000000000", "9.99988867E-321", "0.000000000E0"},
    {std::numeric_limits<double>::denorm_min(), 9, "0.000000000", "4.94065646E-324",
     "0.000000000E0"},
    // Grouping and separators.
    {-1234567.891, 3, "-1,234,567.891", "-1.23E+006", "-1.235E6"},
    {1234.5, 2, "1.234,50", "1,2E+003", "1.23E3", kGerman},
    {1234.5, 9, "1234.500000000", "1.23450000E+003", "1.234500000E3", kNoGroup},
    {1234567, 1, "1\u202f234\u202f567,0", "1,2E+006", "1.2E6", Separators{",", "\u202f"}},
    {123456, 0, "123,456", "1.2E+005", "123E3"},
};

INSTANTIATE_TEST_SUITE_P(Table, DisplayForms, ::testing::ValuesIn(kDisplayCases));

TEST(DisplayDigits, SciWithZeroOrOneDigitShowsTwoSignificant) {
    EXPECT_EQ(Show(1234.5, zunSci, 0, kUs), Show(1234.5, zunSci, 1, kUs));
    EXPECT_EQ(Show(0, zunSci, 0, kUs), "0.0E+000");
}

TEST(DisplayDigits, FixLenOutsideKeypadRangeUsesNearestValidCount) {
    EXPECT_EQ(Show(1234.5, zunFix, -3, kUs), "1,235");
    EXPECT_EQ(Show(1234.5, zunFix, 25, kUs), "1,234.500000000");
    EXPECT_EQ(Show(1234.5, zunEng, std::numeric_limits<int>::min(), kUs), "1E3");
    EXPECT_EQ(Show(1234.5, zunSci, std::numeric_limits<int>::max(), kUs), "1.23450000E+003");
}

TEST(DisplayModes, UnknownModeGivesEmptyTextAndConsumesError) {
    TZunCalc z(1);
    z.Mode = static_cast<TZunMode>(3);
    EXPECT_EQ(z.Display(), "");
    z.Mode = static_cast<TZunMode>(255);
    z.FError = "Overflow";
    EXPECT_EQ(z.Display(), "Overflow");
    EXPECT_EQ(z.Display(), "");
}

TEST(DisplayModes, NonFiniteXShowsAnErrorWordEveryTime) {
    const double inf = std::numeric_limits<double>::infinity();
    for (TZunMode mode : {zunFix, zunSci, zunEng}) {
        EXPECT_EQ(Show(inf, mode, 9, kUs), "Overflow");
        EXPECT_EQ(Show(-inf, mode, 9, kUs), "Overflow");
        EXPECT_EQ(Show(std::nan(""), mode, 9, kUs), "Invalid Data");
    }
}

TEST(DisplayErrors, ErrorTextShownOnceThenNumber) {
    for (TZunMode mode : {zunFix, zunSci, zunEng}) {
        TZunCalc z(1);
        z.Mode = mode;
        z.FError = "Overflow";
        EXPECT_EQ(z.Display(), "Overflow");
        EXPECT_TRUE(z.FError.empty());
        EXPECT_NE(z.Display(), "Overflow");
    }
}

struct EngExponentCase {
    double x;
    int e;
    friend std::ostream& operator<<(std::ostream& os, const EngExponentCase& c) {
        return os << c.x;
    }
};

class EngExponents : public ::testing::TestWithParam<EngExponentCase> {};

TEST_P(EngExponents, LargestMultipleOfThreeNotAboveLog) {
    EXPECT_EQ(EngExponent(GetParam().x), GetParam().e) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngExponents,
    ::testing::Values(EngExponentCase{0, 0}, EngExponentCase{1e-200, 0}, EngExponentCase{1, 0},
                      EngExponentCase{0.001, -3}, EngExponentCase{0.5, -3},
                      EngExponentCase{1234.5, 3}, EngExponentCase{-1234.5, 3},
                      EngExponentCase{1e-11, -12}, EngExponentCase{0.99999999, 0},
                      EngExponentCase{0.9999999, -3}, EngExponentCase{999, 0},
                      EngExponentCase{1000, 3}, EngExponentCase{1e308, 306},
                      EngExponentCase{5e-324, 0}, EngExponentCase{1.01e-199, -201},
                      EngExponentCase{std::numeric_limits<double>::infinity(), 0}));

} // namespace
