// The keyboard table, typed characters and the prefix toggle.

#include "keypad/keyboard.h"
#include "keys.h"

#include <map>
#include <utility>
#include <vector>

namespace pellix::test {
namespace {

// Every value of the keyboard table with its hot spot; all others select none.
const std::map<std::uint16_t, std::string_view> kKeyboard = [] {
    std::map<std::uint16_t, std::string_view> m = {
        {0x08, "imBack"}, {0x0D, "imEnter"}, {0x2A, "imMul"}, {0x2B, "imAdd"}, {0x2C, "imPt"},
        {0x2D, "imSub"},  {0x2E, "imPt"},    {0x2F, "imDiv"}, {0x43, "imChs"}, {0x45, "imEex"},
        {0x46, "imF"},    {0x47, "imG"},     {0x49, "imInv"}, {0x4C, "imExp"}, {0x6A, "imMul"},
        {0x6B, "imAdd"},  {0x6C, "imExp"},   {0x6D, "imSub"}, {0x6E, "imPt"},  {0x6F, "imDiv"},
        {0x60, "im0"}};
    const char* digits[] = {"im0", "im1", "im2", "im3", "im4", "im5", "im6", "im7", "im8", "im9"};
    for (std::uint16_t d = 0; d < 10; ++d) {
        m[static_cast<std::uint16_t>(0x30 + d)] = digits[d];
        if (d > 0) {
            m[static_cast<std::uint16_t>(0x60 + d)] = digits[d];
        }
    }
    const char* letters[] = {"imRCL",  "imSTO", "imTan", "imSin",  "imCos",
                             "imSqrt", "imExg", "imPwr", "imPwr10"}; // R to Z, F3 to F11
    for (std::uint16_t i = 0; i < 9; ++i) {
        m[static_cast<std::uint16_t>(0x52 + i)] = letters[i];
        m[static_cast<std::uint16_t>(0x72 + i)] = letters[i];
    }
    return m;
}();

TEST(KeypadKeyToSender, WholeValueRange) {
    EXPECT_EQ(kKeyboard.size(), 58u);
    for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
        const auto value = static_cast<std::uint16_t>(v);
        const FaceKey* k = KeyToSender(value);
        const auto it = kKeyboard.find(value);
        if (it == kKeyboard.end()) {
            EXPECT_EQ(k, nullptr) << std::hex << v;
        } else {
            ASSERT_NE(k, nullptr) << std::hex << v;
            EXPECT_EQ(k->Control, it->second) << std::hex << v;
        }
    }
}

// Typed characters after a fresh start: the display and X afterwards.
struct TypedCase {
    const char16_t* typed;
    const char* display;
    double x;

    friend void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.display; }
};

class KeypadTyped : public EntryTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(KeypadTyped, ActsLikeKeys) {
    for (const char16_t* p = GetParam().typed; *p != 0; ++p) {
        EXPECT_EQ(entry.TypeChar(*p), KeyPressResult::Done);
    }
    EXPECT_EQ(Display(), GetParam().display);
    EXPECT_DOUBLE_EQ(X(), GetParam().x);
}

const TypedCase kTyped[] = {
    {u"12 ", "-12", 0},
    {u"12  ", "12", 0},
    {u"47c", "-47", 0},
    {u"47C", "-47", 0},
    {u"1e3", "1E3_", 0},
    {u"1E3\r", "1,000.000000000", 1000},
    {u"3\r4+", "7.000000000", 7},
    {u"2\r3*", "6.000000000", 6},
    {u"8\r2/", "4.000000000", 4},
    {u"8\r2-", "6.000000000", 6},
    {u"123\b", "12", 0},
    {u"`", "0_", 0},
    {u"5,2", "5.2_", 0},
    {u"5.2", "5.2_", 0},
    {u"9w", "3.000000000", 3},
    {u"9W", "3.000000000", 3},
    {u"2i", "0.500000000", 0.5},
    {u"5j", "5_", 0},         // lower-case rows are not reached by characters
    {u"5a!~\u00e9", "5_", 0}, // no hot spot
    {u"4s", "STO _", 4},
    {u"4s3r3", "4.000000000", 4},
    {u"3\r4x", "3.000000000", 3},
    {u"fw", "0.000000000", 0},
    {u"9g4", "9.000000000", 9}, // g 4: no operation, ends the entry
    {u"gef", "3.141592654", 3.141592653589793},
    {u"1 w", "Ung\u00fcltige Gleitkommaoperation", 0}, // fault caught like the window's handler
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadTyped, ::testing::ValuesIn(kTyped));

TEST_F(EntryTest, KeypadTypedQuitClosesWithoutKeying) {
    Keys("1 2");
    EXPECT_EQ(entry.FormKeyPress(u'q'), KeyPressResult::Close);
    EXPECT_EQ(entry.FormKeyPress(u'Q'), KeyPressResult::Close);
    EXPECT_EQ(Display(), "12_");
    EXPECT_FALSE(calc.Input);
}

TEST_F(EntryTest, KeypadPrefixToggle) {
    using S = PrefixSender;
    const std::pair<std::vector<S>, const char*> cases[] = {
        {{S::FKey}, "f"},           {{S::FKey, S::FKey}, "-"},  {{S::FKey, S::GKey}, "g"},
        {{S::GKey, S::FKey}, "f"},  {{S::GKey, S::GKey}, "-"},  {{S::Label}, "f"},
        {{S::GKey, S::Label}, "f"}, {{S::FKey, S::Label}, "-"},
    };
    for (const auto& [clicks, expected] : cases) {
        for (const S s : clicks) {
            entry.lbFClick(s);
        }
        const std::string state = entry.IsFPrefix() ? "f" : entry.IsGPrefix() ? "g" : "-";
        EXPECT_EQ(state, expected);
        EXPECT_EQ(entry.FCaption(), entry.IsFPrefix() ? "f" : "");
        EXPECT_EQ(entry.GCaption(), entry.IsGPrefix() ? "g" : "");
        EXPECT_FALSE(entry.IsFPrefix() && entry.IsGPrefix());
        if (entry.IsFPrefix()) {
            entry.lbFClick(S::FKey);
        } else if (entry.IsGPrefix()) {
            entry.lbFClick(S::GKey);
        }
    }
    Keys("1 2 STO");
    entry.lbFClick(S::GKey); // neither the entry nor the prompt is touched
    EXPECT_EQ(Display(), "STO _");
    EXPECT_TRUE(entry.IsSTOInput());
}

} // namespace
} // namespace pellix::test
