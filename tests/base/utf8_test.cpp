#include "base/utf8.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>
#include <string>

namespace pellix {
namespace {

struct DecodeCase {
    std::string Text;
    std::optional<std::u32string> Expected;
    friend std::ostream& operator<<(std::ostream& os, const DecodeCase& c) {
        return os << c.Text.size() << " bytes";
    }
};

class DecodeUtf8Test : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeUtf8Test, AcceptsOnlyWellFormedUtf8) {
    EXPECT_EQ(DecodeUtf8(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeUtf8Test,
    ::testing::Values(DecodeCase{"", U""}, DecodeCase{"a1", U"a1"},
                      DecodeCase{std::string("\0", 1), std::u32string(1, U'\0')},
                      DecodeCase{"\xC3\xA4\xE2\x80\xAF\xF0\x9F\x98\x80", U"\u00E4\u202F\U0001F600"},
                      DecodeCase{"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
                      DecodeCase{"\x80", std::nullopt},             // stray continuation
                      DecodeCase{"\xC3", std::nullopt},             // cut short
                      DecodeCase{"\xE2\x80", std::nullopt},         // cut short
                      DecodeCase{"\xC3(", std::nullopt},            // missing continuation
                      DecodeCase{"\xC0\xAF", std::nullopt},         // overlong
                      DecodeCase{"\xE0\x80\xAF", std::nullopt},     // overlong
                      DecodeCase{"\xED\xA0\x80", std::nullopt},     // surrogate
                      DecodeCase{"\xF4\x90\x80\x80", std::nullopt}, // beyond U+10FFFF
                      DecodeCase{"\xFF", std::nullopt}));

TEST(Utf8, EncodesEveryLengthAndReplacesInvalidCodePoints) {
    EXPECT_EQ(EncodeUtf8(U'A'), "A");
    EXPECT_EQ(EncodeUtf8(U'\u066B'), "\xD9\xAB");
    EXPECT_EQ(EncodeUtf8(U'\u202F'), "\xE2\x80\xAF");
    EXPECT_EQ(EncodeUtf8(U'\U0001F600'), "\xF0\x9F\x98\x80");
    EXPECT_EQ(EncodeUtf8(0xD800), "\xEF\xBF\xBD");
    EXPECT_EQ(EncodeUtf8(0x110000), "\xEF\xBF\xBD");
}

TEST(Utf8, SurrogatesKeepTheirThreeByteFormWhenAskedTo) {
    EXPECT_EQ(ReadUtf8("\xED\xA0\x80", 0).CodePoint, 0xD800u);
    EXPECT_TRUE(ReadUtf8("\xED\xA0\x80", 0).Valid);
    std::string out;
    AppendUtf8(out, 0xDFFF);
    EXPECT_EQ(out, "\xED\xBF\xBF");
}

// Character counts and cuts of texts that may hold stray bytes: a lead byte
// takes up to three continuation bytes, anything else stands alone.
struct WalkCase {
    std::string Text;
    std::size_t Count;
    std::string FirstTwo;
    std::string WithoutLast;
    // The bytes as escapes: GoogleTest would otherwise dump the object, padding included.
    friend void PrintTo(const WalkCase& c, std::ostream* os) {
        *os << ::testing::PrintToString(c.Text);
    }
};

class Utf8Walk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(Utf8Walk, CountsAndCutsWholeCharacters) {
    const WalkCase& c = GetParam();
    EXPECT_EQ(Utf8CharCount(c.Text), c.Count);
    EXPECT_EQ(Utf8FirstChars(c.Text, 2), c.FirstTwo);
    EXPECT_EQ(Utf8WithoutLastChar(c.Text), c.WithoutLast);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Walk,
    ::testing::Values(WalkCase{"", 0, "", ""},
                      WalkCase{"1\xE2\x80\xAF"
                               "5",
                               3, "1\xE2\x80\xAF", "1\xE2\x80\xAF"},
                      WalkCase{"\xF0\x9F\x98\x80", 1, "\xF0\x9F\x98\x80", ""},
                      WalkCase{"\x80\x80x", 3, "\x80\x80", "\x80\x80"}, // stray continuations
                      WalkCase{"\xC3\x80\x80\x80\x80", 2, "\xC3\x80\x80\x80\x80",
                               "\xC3\x80\x80\x80"}, // one too many
                      WalkCase{"a\xC3\x80\x80", 2, "a\xC3\x80\x80",
                               "a"}, // a lead takes a stray byte too
                      WalkCase{"\xFF\xFE", 2, "\xFF\xFE", "\xFF"}));

TEST(Utf8, BeyondTheBasicPlaneGivesASurrogatePair) {
    EXPECT_EQ(Utf16Units(U'q'), u"q");
    EXPECT_EQ(Utf16Units(U'\U0001F600'), std::u16string({0xD83D, 0xDE00}));
}

} // namespace
} // namespace pellix
