// Key sequences through the entry machine: what the display shows and what
// the stack holds afterwards (FIX 9, "." decimal and "," thousands separator).

#include "keys.h"

#include <optional>

namespace pellix::test {
namespace {

struct SeqCase {
    const char* keys;
    const char* display;
    std::optional<double> x = {};
    std::optional<double> y = {};
    std::optional<double> z = {};

    friend void PrintTo(const SeqCase& c, std::ostream* os) { *os << c.keys; }
};

class KeypadSequence : public EntryTest, public ::testing::WithParamInterface<SeqCase> {};

TEST_P(KeypadSequence, ShowsAndStacks) {
    const SeqCase& c = GetParam();
    Keys(c.keys);
    EXPECT_EQ(Display(), c.display);
    if (c.x) {
        EXPECT_DOUBLE_EQ(X(), *c.x);
    }
    if (c.y) {
        EXPECT_DOUBLE_EQ(Y(), *c.y);
    }
    if (c.z) {
        EXPECT_DOUBLE_EQ(Z(), *c.z);
    }
}

const SeqCase kSequences[] = {
    // Entry after ENTER replaces X; after STO it starts a new number.
    {"3 ENTER 4 +", "7.000000000", 7, 0},
    {"3 ENTER 4 STO 1", "4.000000000", 4, 3},
    {"3 ENTER 4 STO 1 +", "7.000000000", 7, 0},
    {"3 ENTER 4 STO 1 5", "5_", 4, 3},
    {"3 ENTER 4 STO 1 5 +", "9.000000000", 9, 3},
    // ENTER pushes the displayed (rounded) value unless ENTER came first.
    {"f 7 2 1 . 2 3 6 ENTER", "1.24", 1.24, 1.236},
    {"f 7 2 ENTER 1 . 2 3 6 ENTER", "1.24", 1.236, 1.236},
    {"1 ENTER 3 / ENTER ENTER", "0.333333333", 0.333333333, 0.333333333, 1.0 / 3.0},
    // Paste completes a number being keyed in as RCL does, then lifts the stack
    {"9 ENTER 4 PASTE:42", "42.000000000", 42, 4, 9},
    {"9 ENTER 4 RCL 0", "0.000000000", 0, 4, 9},
    {"1 2 PASTE:3 +", "15.000000000", 15, 0},
    {"1 EEX 3 PASTE:-2.5", "-2.500000000", -2.5, 1000},
    {"9 ENTER PASTE:42 5 +", "47.000000000", 47, 9},
    {"9 ENTER 4 PASTE:4,2", "4_", 9, 9}, // refused: the entry goes on
    {"9 ENTER 4 PASTE:4,2 2 +", "51.000000000", 51, 0},
    // EEX
    {"EEX", "1E"},
    {"EEX 3", "1E3_"},
    {"EEX 3 ENTER", "1,000.000000000", 1000, 1000},
    {"1 EEX ENTER", "1.000000000", 1, 1},
    {"1 EEX EEX 2", "1E2_"},
    {"1 EEX . 5 ENTER", "0.000000000", 0}, // separator after E: no number
    {"EEX 5 g CHS", "100,000.000000000", 100000, 0},
    // Decimal point
    {".", "."},
    {". 5", ".5_"},
    {". 5 ENTER", "0.500000000", 0.5, 0.5},
    {"1 . . 5", "1.5_"},
    // CHS in mantissa, exponent, right after EEX and with no entry
    {"1 2 CHS", "-12"},
    {"1 2 CHS CHS", "12"},
    {"1 2 CHS 3", "-123_"},
    {"1 EEX 3 CHS", "1E-3"},
    {"1 EEX CHS", "1E-"},
    {"1 EEX CHS CHS", "1E"},
    {"1 EEX CHS 3 ENTER", "0.001000000", 0.001},
    {"5 ENTER CHS", "-5.000000000", -5, 5},
    // Twelve characters at most; the dropped digit leaves no cursor
    {"1 2 3 4 5 6 7 8 9 0 1 2 3", "123456789012"},
    {"1 2 3 4 5 6 7 8 9 0 1 2 . EEX", "123456789012.E"},
    {"1 2 3 4 5 6 7 8 9 0 1 2 . EEX 5", "123456789012.E"},
    {"1 2 3 4 5 6 7 8 9 0 1 2 . EEX CHS", "123456789012.E-"},
    // Back-arrow
    {"1 2 3 BACK", "12"},
    {"1 2 3 BACK 4", "124_"},
    {"7 ENTER 5 BACK", "7.000000000", 7, 7},
    {"7 ENTER 5 BACK 2 +", "9.000000000", 9, 0},
    {"4 ENTER 9 ENTER BACK", "0.000000000", 0, 9, 4},
    {"EEX BACK", "1"},
    {"EEX BACK BACK", "0.000000000", 0},
    {"f BACK", "0.000000000", 0},
    // FIX/SCI/ENG prompt ends an entry first and waits for its digit
    {"1 2 f 7", "FIX _", 12, 0},
    {"1 ENTER 1 2 f 7", "FIX _", 12, 1},
    {"f 7 BACK + ENTER SUM 3", "0.000", 0, 0},
    {"f 8 2", "0.0E+000"},
    {"1 2 3 4 . 5 f 9 2", "1.23E3"},
    // Last-key memory
    {"5 ENTER g ENTER 2 +", "2.000000000", 2, 5, 5},
    {"f ENTER 7 +", "7.000000000", 7, 0},
    {"3 ENTER g EEX 2 *", "6.000000000", 6, 3},
    {"5 ENTER 1 + 3 CHS g CHS", "3.000000000", 3, 0},
    {"7 ENTER 1 + 4 g EEX", "3.141592654", 3.141592653589793, 4, 0},
    {"5 ENTER #50 2 +", "7.000000000", 7, 5},
    // Keys and prefixed digits without an operation still end an entry
    {"5 SUM", "5.000000000", 5, 0},
    {"1 ENTER 5 SUM", "5.000000000", 5, 1},
    {"7 g 4", "7.000000000", 7, 0},
    {"7 g 0", "7.000000000", 7, 0},
    {"7 f 6", "7.000000000", 7, 0},
    {"5 #50", "5.000000000", 5, 0},
    // As unshifted after f; STO after f and g
    {"9 f SQRT", "3.000000000", 3, 0},
    {"2 ENTER 3 f YX", "8.000000000", 8},
    {"2 . 5 f STO", "0.500000000", 0.5},
    {"2 . 5 g STO", "2.000000000", 2},
    {"f RCL", "RCL _"},
    {"g RCL", "RCL _"},
    // An error text shown once; ENTER then pushes 0
    {"7 ENTER 1 ENTER 0 /", "Divide by 0", 7},
    {"7 ENTER 1 ENTER 0 / ENTER", "0.000000000", 0, 7},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadSequence, ::testing::ValuesIn(kSequences),
                         KeysName<SeqCase>);

TEST_F(EntryTest, KeypadStoreKeepsStackAndRegister) {
    Keys("3 ENTER 4 STO 1");
    EXPECT_EQ(calc.Reg[1], 4);
    EXPECT_TRUE(calc.Input);
    EXPECT_EQ(calc.LastX, 0);
}

TEST_F(EntryTest, KeypadLastKeyTracksOperationPath) {
    Keys("g ENTER");
    EXPECT_EQ(entry.LastKey(), 0);
    Keys("f ENTER");
    EXPECT_EQ(entry.LastKey(), KeyEnter);
    for (const char* edit : {"g EEX", "g CHS", "BACK", ".", "CHS", "EEX"}) {
        Keys(edit);
        EXPECT_EQ(entry.LastKey(), KeyEnter) << edit;
    }
    Keys("SUM");
    EXPECT_EQ(entry.LastKey(), KeySum);
    Keys("STO");
    EXPECT_EQ(entry.LastKey(), KeySTO);
}

TEST_F(EntryTest, KeypadPrefixClearedOnOperationPathOnly) {
    Keys("f 5");
    EXPECT_FALSE(entry.IsFPrefix());
    Keys("g SUM");
    EXPECT_FALSE(entry.IsGPrefix());
    Keys("g .");
    EXPECT_FALSE(entry.IsGPrefix());
    Keys("BACK f");
    Keys("STO 4"); // f STO is FRAC and clears f
    EXPECT_FALSE(entry.IsFPrefix());
    EXPECT_FALSE(entry.IsSTOInput());
}

TEST_F(EntryTest, KeypadAngleModesAndAnnunciator) {
    Keys("g 8");
    EXPECT_EQ(calc.TrigMode, zunRad);
    EXPECT_EQ(entry.TrigCaption(), "RAD");
    Keys("g 9");
    EXPECT_EQ(calc.TrigMode, zunGrad);
    EXPECT_EQ(entry.TrigCaption(), "GRAD");
    Keys("g 7");
    EXPECT_EQ(calc.TrigMode, zunDeg);
    EXPECT_EQ(entry.TrigCaption(), "");
    calc.TrigMode = zunRad;
    entry.SyncTrigCaption();
    EXPECT_EQ(entry.TrigCaption(), "RAD");
    calc.TrigMode = static_cast<TZunTrigMode>(7);
    entry.SyncTrigCaption();
    EXPECT_EQ(entry.TrigCaption(), "RAD");
}

TEST_F(EntryTest, KeypadFormatModeChangesAtOnce) {
    Keys("f 8");
    EXPECT_EQ(calc.Mode, zunSci);
    EXPECT_TRUE(entry.IsFracInput());
    for (int code : {-5, 10, 98, 99, 100, 106, 114, 115, 116, 118, 119, 120, 5000}) {
        entry.Press(code);
        EXPECT_EQ(Display(), "SCI _") << code;
    }
    EXPECT_EQ(calc.FixLen, 9);
    Keys("0");
    EXPECT_FALSE(entry.IsFracInput());
    EXPECT_EQ(calc.FixLen, 0);
}

// Regional separators: comma decimal with point grouping, and multibyte ones.
struct RegionalCase {
    const char* decimal;
    const char* thousands;
    const char* keys;
    const char* display;
    std::optional<double> x = {};

    friend void PrintTo(const RegionalCase& c, std::ostream* os) { *os << c.keys; }
};

class KeypadRegional : public EntryTest, public ::testing::WithParamInterface<RegionalCase> {};

TEST_P(KeypadRegional, UsesSeparators) {
    const RegionalCase& c = GetParam();
    calc.Regional = {c.decimal, c.thousands};
    entry.RefreshDisplay();
    Keys(c.keys);
    EXPECT_EQ(Display(), c.display);
    if (c.x) {
        EXPECT_DOUBLE_EQ(X(), *c.x);
    }
}

const RegionalCase kRegional[] = {
    {",", ".", "1 . 5", "1,5_"},
    {",", ".", "1 . 5 ENTER", "1,500000000", 1.5},
    {",", ".", "1 2 3 4 ENTER", "1.234,000000000", 1234},
    {",", ".", "1 2 3 4 ENTER ENTER +", "2.468,000000000", 2468},
    {",", "", "1 2 3 4 ENTER", "1234,000000000", 1234},
    {"\u066B", "\u202F", ". 5", "\u066B5_"},
    {"\u066B", "\u202F", ". 5 ENTER", "0\u066B500000000", 0.5},
    {"\u066B", "\u202F", "1 2 3 4 5 ENTER", "12\u202F345\u066B000000000", 12345},
    {"\u066B", "\u202F", "1 2 3 4 5 ENTER ENTER +", "24\u202F690\u066B000000000", 24690},
    {"\u066B", "\u202F", "1 2 3 4 5 . 6 7 8 9 0 1 2", "12345\u066B678901"},
    {"\u066B", "\u202F", "1 . BACK", "1"},
    {"\u066B", "\u202F", ". BACK", "0\u066B000000000", 0},
    {"\u066B", "\u202F", "1 . . 2", "1\u066B2_"},
    {"\u066B", "\u202F", "1 . 5 g CHS", "1\u066B500000000", 1.5},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadRegional, ::testing::ValuesIn(kRegional),
                         KeysName<RegionalCase>);

TEST_F(EntryTest, NewSeparatorsShowXInTheNewNotation) {
    Keys("1 2 3 4 ENTER");
    entry.SetRegional({",", "."});
    EXPECT_EQ(Display(), "1.234,000000000");
    Keys("ENTER 5");
    EXPECT_EQ(Y(), 1234) << "ENTER read the shown value back";
    entry.SetRegional({".", ""});
    EXPECT_EQ(Display(), "5_") << "a number being keyed in stays";
}

// The owner's change callback: once per call that changes what is shown, after
// the change, and never for a call that changes nothing.
struct ChangeCase {
    const char* before;
    const char* keys;
    int calls;

    friend void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.keys; }
};

class KeypadChange : public EntryTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(KeypadChange, CallsTheOwnerOncePerChange) {
    Keys(GetParam().before);
    int calls = 0;
    std::string seen;
    entry.OnChange([&] {
        ++calls;
        seen = Display();
    });
    Keys(GetParam().keys);
    EXPECT_EQ(calls, GetParam().calls);
    if (calls > 0) {
        EXPECT_EQ(seen, Display());
    }
}

const ChangeCase kChanges[] = {
    // a call for each digit
    {"", "1 2", 2},
    // the press without a key clears the annunciator
    {"", "f #60000", 2},
    // nothing shown changes
    {"", "#60000 BACK", 0},
    // completes the entry, pushes and shows the value: one call
    {"1 2", "PASTE:5", 1},
    // refused
    {"1 2", "PASTE:4,2", 0},
    // pushes -12, then the fault's text: one call
    {"1 CHS 2 f", "SQRT", 1},
    // operator prompt, then the store
    {"STO", "+ 7", 2},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadChange, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<ChangeCase>& p) {
                             return TestName(std::string(p.param.before) + "_" + p.param.keys,
                                             p.index);
                         });

} // namespace
} // namespace pellix::test
