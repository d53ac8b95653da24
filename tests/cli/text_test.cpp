#include "localeseparators.h"
#include "utf8.h"

#include <gtest/gtest.h>

#include <ostream>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

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

TEST(Utf8, BeyondTheBasicPlaneGivesASurrogatePair) {
    EXPECT_EQ(Utf16Units(U'q'), u"q");
    EXPECT_EQ(Utf16Units(U'\U0001F600'), std::u16string({0xD83D, 0xDE00}));
}

// Sets (or, with nullptr, removes) an environment variable.
void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value != nullptr ? value : ""); // an empty value removes it
#else
    if (value != nullptr)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

// Runs f with LC_ALL set to value, restoring both afterwards.
template <typename F>
void WithLcAll(const char* value, F f) {
    const char* old = std::getenv("LC_ALL");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    SetEnvironment("LC_ALL", value);
    f();
    SetEnvironment("LC_ALL", saved ? saved->c_str() : nullptr);
}

#ifdef _WIN32
// The C library on Windows takes the environment's locale from the user's
// regional settings, not from LC_ALL.
std::string UserLocaleText(LCTYPE type) {
    wchar_t text[16] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, text, 16);
    std::string utf8;
    for (int i = 0; i + 1 < n; ++i)
        utf8 += EncodeUtf8(static_cast<char32_t>(text[i]));
    return utf8;
}

TEST(LocaleSeparators, DefaultsAreThoseOfTheUserLocale) {
    const Separators sep = SeparatorsFromEnvironment();
    EXPECT_EQ(sep.Decimal, UserLocaleText(LOCALE_SDECIMAL));
    const std::string thousands = UserLocaleText(LOCALE_STHOUSAND);
    EXPECT_EQ(sep.Thousands, thousands == sep.Decimal ? "" : thousands);
}
#else
TEST(LocaleSeparators, CLocaleHasPointAndNoGrouping) {
    WithLcAll("C", [] {
        const Separators sep = SeparatorsFromEnvironment();
        EXPECT_EQ(sep.Decimal, ".");
        EXPECT_EQ(sep.Thousands, "");
    });
}
#endif

TEST(LocaleSeparators, RestoresTheLocaleInForce) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    WithLcAll("C.UTF-8", [] { (void)SeparatorsFromEnvironment(); });
    WithLcAll("no_SUCH.locale", [] {
        const Separators sep = SeparatorsFromEnvironment();
        EXPECT_EQ(sep.Decimal, ".");
    });
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

TEST(LocaleSeparators, MultibyteCharacterOfAUtf8LocaleStaysWhole) {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(FirstCharAsUtf8("\xE2\x80\xAF"
                              "x"),
              "\xE2\x80\xAF");
    EXPECT_EQ(FirstCharAsUtf8(","), ",");
    EXPECT_EQ(FirstCharAsUtf8(""), "");
    EXPECT_EQ(FirstCharAsUtf8("\xE2\x80"), ""); // incomplete
    std::setlocale(LC_CTYPE, before.c_str());
}

} // namespace
} // namespace pellix
