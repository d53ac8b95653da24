#include "engine/textnumber.h"

#include "engine/faults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

using namespace pellix;

namespace {

struct TextCase {
    const char* text;
    double value;
};

std::ostream& operator<<(std::ostream& os, const TextCase& c) {
    return os << '"' << c.text << '"';
}

class PlainNumbers : public ::testing::TestWithParam<TextCase> {};

TEST_P(PlainNumbers, ReadsKeyedInText) {
    EXPECT_EQ(PlainNumber(GetParam().text, "."), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlainNumbers,
    ::testing::Values(
        TextCase{"12", 12}, TextCase{"12E", 12}, TextCase{"1E", 1}, TextCase{"1E-", 1},
        TextCase{"1E3", 1000}, TextCase{"1E-3", 0.001}, TextCase{"-12", -12}, TextCase{"+5", 5},
        TextCase{"  7.5  ", 7.5}, TextCase{".5", 0.5}, TextCase{"5.", 5}, TextCase{".", 0},
        TextCase{"", 0}, TextCase{"-", 0}, TextCase{"E5", 0}, TextCase{"1.2.3", 0},
        TextCase{"1E3.5", 0}, TextCase{"1,5", 0}, TextCase{"abc", 0}, TextCase{"Divide by 0", 0},
        TextCase{"1e2", 100}, TextCase{"0.000123450", 0.00012345}, TextCase{"1E499x", 0},
        TextCase{"1E5000", 0}, TextCase{"1E0000000005", 100000}, TextCase{"1E-400", 0},
        TextCase{"1E-320", 1e-320}, TextCase{"123456789012", 123456789012.0},
        TextCase{"1.7976931348623157E308", 1.7976931348623157e308}, TextCase{"\t1", 0},
        TextCase{"1_", 0}));

TEST(PlainNumber, NegativeZeroKeepsItsSign) {
    EXPECT_TRUE(std::signbit(PlainNumber("-0", ".")));
}

class OverflowingTexts : public ::testing::TestWithParam<const char*> {};

TEST_P(OverflowingTexts, ReadableButTooLargeThrowsOverflow) {
    EXPECT_THROW(PlainNumber(GetParam(), "."), EOverflow);
}

INSTANTIATE_TEST_SUITE_P(Table, OverflowingTexts,
                         ::testing::Values("9E499", "-9E499", "1E309", "1.8E308", "1E999",
                                           "179769313486231590000000000000000000000000E268"));

TEST(NumberOfText, RemovesThousandsSeparatorsFirst) {
    EXPECT_EQ(NumberOfText("1,234,567.5", Separators{".", ","}), 1234567.5);
    EXPECT_EQ(NumberOfText("1.234,5", Separators{",", "."}), 1234.5);
    EXPECT_EQ(NumberOfText("1\u202f234,5", Separators{",", "\u202f"}), 1234.5);
    EXPECT_EQ(NumberOfText("1,234.5", Separators{".", ""}), 0);
    EXPECT_EQ(PlainNumber("1,234.5", "."), 0) << "the plain number keeps the separators";
}

TEST(NumberOfText, DecimalCommaAndMultibyteSeparator) {
    EXPECT_EQ(PlainNumber("0,5", ","), 0.5);
    EXPECT_EQ(PlainNumber("0.5", ","), 0);
    EXPECT_EQ(PlainNumber("2\u066b5", "\u066b"), 2.5);
}

TEST(NumberOfText, VeryLongTextsAreReadWithoutTrouble) {
    EXPECT_THROW(PlainNumber(std::string(1'000'000, '9'), "."), EOverflow);
    EXPECT_EQ(PlainNumber("0." + std::string(1'000'000, '0') + "1", "."), 0);
    EXPECT_DOUBLE_EQ(PlainNumber("0." + std::string(100'000, '3'), "."), 1.0 / 3);
}

class PasteTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(PasteTexts, StrictFormIsAccepted) {
    const auto v = PasteNumber(GetParam().text, ".");
    ASSERT_TRUE(v.has_value()) << GetParam().text;
    EXPECT_EQ(*v, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, PasteTexts,
                         ::testing::Values(TextCase{" -2.5e3 ", -2500}, TextCase{"42", 42},
                                           TextCase{"+1.5E-2", 0.015}, TextCase{"1.7e308", 1.7e308},
                                           TextCase{"-1.7E308", -1.7e308}, TextCase{"0", 0},
                                           TextCase{"1e-400", 0}, TextCase{".5", 0.5},
                                           TextCase{"1e+0003", 1000}));

class RejectedPastes : public ::testing::TestWithParam<const char*> {};

TEST_P(RejectedPastes, AnythingElseIsRefused) {
    EXPECT_FALSE(PasteNumber(GetParam(), ".").has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Table, RejectedPastes,
                         ::testing::Values("", " ", "abc", "1,234.5", "-2.5e3\n", "\t5", "5\t",
                                           "1.8e308", "1.7000001e308", "1e309", "12E", "1e+",
                                           "0x10", "1.2.3", "--1", "+-1", "1 2", "5,0",
                                           "1e99999999999999999999", "\xff\xfe"));

TEST(PasteNumber, UsesTheLocaleSeparator) {
    EXPECT_EQ(PasteNumber("2,5", ","), 2.5);
    EXPECT_FALSE(PasteNumber("2.5", ",").has_value());
}

} // namespace
