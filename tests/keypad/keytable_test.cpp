// The face key table: hot spots, geometry, legends, names and key meanings.

#include "keyboard.h"
#include "keytable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <tuple>
#include <utility>

namespace pellix {
namespace {

// Legends and tooltips as the face shows them.
TEST(KeypadFace, LegendsAndTooltips) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"imSqrt", "\u221Ax", "w"},
        {"imExp", "e\u02E3", "l"},
        {"imPwr10", "10\u02E3", "z"},
        {"imExg", "x\u2277y", "x"},
        {"imStackUp", "R\u2193", "DEL"},
        {"imBack", "\u2190", ""},
        {"imSum", "\u03A3+", ""},
        {"imDiv", "\u00F7", ""},
        {"imMul", "\u00D7", ""},
        {"imSub", "\u2212", ""},
        {"imPt", "\u00B7", ""},
        {"imAdd", "+", ""},
        {"imChs", "CHS", ""},
        {"imClose", "ON", "Close Pellix"},
        {"imF", "f", ""},
        {"imG", "g", "g"},
        {"im7", "7", ""},
        {"imRCL", "RCL", "r"},
    };
    for (const auto& [control, legend, tooltip] : rows) {
        const FaceKey* k = KeyByControl(control);
        ASSERT_NE(k, nullptr) << control;
        EXPECT_EQ(k->Legend, legend) << control;
        EXPECT_EQ(k->Tooltip, tooltip) << control;
    }
    int tooltips = 0;
    for (const FaceKey& k : FaceKeys) {
        tooltips += !k.Tooltip.empty();
    }
    EXPECT_EQ(tooltips, 15);
}

// Every f and g name printed on the face, each on exactly one key.
TEST(KeypadFace, ShiftedNames) {
    const std::multiset<std::string_view> fNames = {
        "x!", "\u2192R", "\u2192H.MS", "\u2192RAD", "FIX", "SCI", "ENG", "RAN #", "FRAC"};
    const std::multiset<std::string_view> gNames = {"\u2192P",
                                                    "\u2192H",
                                                    "\u2192DEG",
                                                    "DEG",
                                                    "RAD",
                                                    "GRAD",
                                                    "\u0394%",
                                                    "%",
                                                    "ABS",
                                                    "LOG",
                                                    "SIN\u207B\u00B9",
                                                    "COS\u207B\u00B9",
                                                    "TAN\u207B\u00B9",
                                                    "LN",
                                                    "x\u00B2",
                                                    "\u03C0",
                                                    "LSTx",
                                                    "R\u2191",
                                                    "INT"};
    std::multiset<std::string_view> f;
    std::multiset<std::string_view> g;
    for (const FaceKey& k : FaceKeys) {
        if (!k.FName.empty()) {
            f.insert(k.FName);
        }
        if (!k.GName.empty()) {
            g.insert(k.GName);
        }
    }
    EXPECT_EQ(f, fNames);
    EXPECT_EQ(g, gNames);
    EXPECT_EQ(KeyByCode(KeyEnter)->Bounds, (FaceRect{330, 272, 39, 106}));
}

TEST(KeypadFace, ThirtyFiveHotSpotsFillTheGrid) {
    std::set<std::pair<int, int>> cells;
    int hotSpots = 0;
    for (const FaceKey& k : FaceKeys) {
        hotSpots += k.Kind != SpotKind::Blank;
        for (int row = k.Row; row < k.Row + k.RowSpan; ++row) {
            EXPECT_TRUE(cells.insert({row, k.Col}).second) << k.Control;
        }
        const FaceRect& b = k.Bounds;
        EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Width > 0 && b.Height > 0 &&
                    b.Left + b.Width <= FaceClientWidth && b.Top + b.Height <= FaceClientHeight)
            << k.Control;
        EXPECT_EQ(k.Kind == SpotKind::Blank, k.Control.empty());
        EXPECT_EQ(k.Kind == SpotKind::Blank, k.Legend.empty());
    }
    EXPECT_EQ(hotSpots, 35);
    EXPECT_EQ(cells.size(), 40u);
    for (const auto& [row, col] : {std::pair{2, 1}, {2, 2}, {3, 1}, {3, 2}}) {
        bool blank = false;
        for (const FaceKey& k : FaceKeys) {
            blank |= k.Row == row && k.Col == col && k.Kind == SpotKind::Blank;
        }
        EXPECT_TRUE(blank) << row << "," << col;
    }
    for (std::size_t i = 0; i < FaceKeys.size(); ++i) { // pictured keys do not overlap
        for (std::size_t j = i + 1; j < FaceKeys.size(); ++j) {
            const FaceRect& a = FaceKeys[i].Bounds;
            const FaceRect& b = FaceKeys[j].Bounds;
            EXPECT_TRUE(a.Left + a.Width <= b.Left || b.Left + b.Width <= a.Left ||
                        a.Top + a.Height <= b.Top || b.Top + b.Height <= a.Top)
                << i << " " << j;
        }
    }
}

TEST(KeypadFace, EveryEntryCodeHasOneKey) {
    std::set<int> codes;
    for (const FaceKey& k : FaceKeys) {
        if (k.Kind == SpotKind::Key) {
            EXPECT_TRUE(codes.insert(k.Code).second) << k.Code;
        }
    }
    EXPECT_EQ(codes.size(), 32u);
    for (int code = -3; code <= 130; ++code) {
        EXPECT_EQ(KeyByCode(code) != nullptr,
                  (code >= 0 && code <= 9) || (code >= 99 && code <= 120))
            << code;
    }
}

// A name is printed beside a key exactly where the shifted key does something
// other than the unshifted one.
TEST(KeypadFace, NamesMatchShiftedMeanings) {
    for (const FaceKey& k : FaceKeys) {
        for (const auto& [p, name] : {std::pair{Prefix::F, k.FName}, {Prefix::G, k.GName}}) {
            const KeyMeaning m = k.For(p);
            const bool differs = m != k.For(Prefix::None) && m.Action != KeyAction::None;
            EXPECT_EQ(!name.empty(), differs) << k.Control << " " << name;
        }
    }
}

TEST(KeypadFace, PaintedLettersAreKeyboardKeys) {
    int letters = 0;
    for (const FaceKey& k : FaceKeys) {
        if (k.Letter == '\0' || k.Letter == 'q') {
            continue;
        }
        ++letters;
        const auto upper = static_cast<std::uint16_t>(std::toupper(k.Letter));
        EXPECT_EQ(KeyToSender(upper), &k) << k.Letter;
        if (!k.Tooltip.empty()) {
            EXPECT_EQ(k.Tooltip, std::string(1, k.Letter));
        }
    }
    EXPECT_EQ(letters, 15);
    EXPECT_EQ(KeyByControl("imClose")->Letter, 'q');
}

struct MeaningRow {
    int code;
    Prefix prefix;
    KeyMeaning meaning;

    friend void PrintTo(const MeaningRow& c, std::ostream* os) {
        *os << c.code << "/" << static_cast<int>(c.prefix);
    }
};

class KeypadMeaning : public ::testing::TestWithParam<MeaningRow> {};

TEST_P(KeypadMeaning, ActsAsOnFace) {
    EXPECT_EQ(MeaningOf(GetParam().code, GetParam().prefix), GetParam().meaning);
}

using A = KeyAction;
constexpr KeyMeaning Op(TZunOperation op) {
    return {A::Operation, op};
}
constexpr Prefix N = Prefix::None, F = Prefix::F, G = Prefix::G;

const MeaningRow kMeanings[] = {
    {0, N, {A::Digit, 0}},
    {0, F, Op(zunFact)},
    {0, G, {}},
    {1, F, Op(zunToRect)},
    {1, G, Op(zunToPol)},
    {2, F, Op(zunToHMS)},
    {2, G, Op(zunToH)},
    {3, F, Op(zunToRad)},
    {3, G, Op(zunToDeg)},
    {4, F, {}},
    {6, G, {}},
    {7, F, {A::FormatPrompt, zunFix}},
    {8, F, {A::FormatPrompt, zunSci}},
    {9, F, {A::FormatPrompt, zunEng}},
    {7, G, {A::AngleMode, zunDeg}},
    {8, G, {A::AngleMode, zunRad}},
    {9, G, {A::AngleMode, zunGrad}},
    {9, N, {A::Digit, 9}},
    {99, G, {A::BackArrow}},
    {100, F, Op(zunMul)},
    {101, G, Op(zunDiv)},
    {102, N, Op(zunSub)},
    {103, G, Op(zunAdd)},
    {104, N, Op(zunInv)},
    {104, G, Op(zundPC)},
    {105, N, Op(zunPwr)},
    {105, G, Op(zunPC)},
    {106, F, {A::ChangeSign}},
    {106, G, Op(zunAbs)},
    {107, G, Op(zunLog10)},
    {108, G, Op(zunInvSin)},
    {109, N, Op(zunCos)},
    {109, G, Op(zunInvCos)},
    {110, G, Op(zunInvTan)},
    {111, N, Op(zunExp)},
    {111, G, Op(zunLn)},
    {112, F, Op(zunSqrt)},
    {112, G, Op(zunSqr)},
    {113, G, Op(zunExc)},
    {114, F, {A::Exponent}},
    {114, G, {A::PushPi}},
    {115, G, {A::DecimalPoint}},
    {116, N, {A::Enter}},
    {116, F, Op(zunRandom)},
    {116, G, {A::LastX}},
    {117, N, Op(zunStackDown)},
    {117, G, Op(zunStackUp)},
    {118, N, {A::StorePrompt}},
    {118, F, Op(zunFrac)},
    {118, G, Op(zunInt)},
    {119, G, {A::RecallPrompt}},
    {120, N, {}},
    {120, G, {}},
    {50, N, {}},
    {-1, N, {}},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadMeaning, ::testing::ValuesIn(kMeanings));

TEST(KeypadFace, OtherControls) {
    EXPECT_EQ(ItemByControl("imAbout")->Bounds, (FaceRect{560, 34, 46, 50}));
    EXPECT_EQ(ItemByControl("lbDisplay")->Bounds, (FaceRect{123, 40, 286, 51}));
    EXPECT_EQ(ItemByControl("lbDisplay")->Font, "Comic Sans MS");
    EXPECT_TRUE(ItemByControl("lbF")->AutoSize && ItemByControl("lbG")->AutoSize);
    EXPECT_EQ(ItemByControl("lbG")->Bounds.Left, 191);
    EXPECT_EQ(ItemByControl("lbTrig")->Bounds, (FaceRect{202, 34, 15, 13}));
    EXPECT_TRUE(KeyByControl("imEnter")->Transparent && KeyByControl("imEnter")->RowSpan == 2);
    EXPECT_EQ(KeyByControl("imF")->Colour, KeyColour::Gold);
    EXPECT_EQ(KeyByControl("imG")->Colour, KeyColour::Blue);
}

} // namespace
} // namespace pellix
