// The key table: hot spots, key codes, the names printed for the shifted
// functions and what each code means.

#include "keypad/keytable.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace pellix {
namespace {

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
    EXPECT_EQ(FaceKeys.size(), 35u);
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

} // namespace
} // namespace pellix
