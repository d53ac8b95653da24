#pragma once

// The calculator face: every pictured key with its hot spot, legends, letter,
// tooltip and what its key code does unshifted, after f and after g. The main
// window places its hot spots from this table, the face is painted from it and
// the entry machine looks up the meaning of a key code in it.

#include "zuncalc.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace pellix {

// Size of the window's client area at zoom 1.0 and of the face picture that
// fills it (stretched proportionally and centred).
inline constexpr int FaceClientWidth = 641;
inline constexpr int FaceClientHeight = 404;
inline constexpr int FacePictureWidth = 639;
inline constexpr int FacePictureHeight = 402;

// Key codes with a role of their own in the entry machine.
inline constexpr int KeyBack = 99;
inline constexpr int KeyMul = 100;
inline constexpr int KeyDiv = 101;
inline constexpr int KeySub = 102;
inline constexpr int KeyAdd = 103;
inline constexpr int KeyInv = 104;
inline constexpr int KeyPwr = 105;
inline constexpr int KeyChs = 106;
inline constexpr int KeyPwr10 = 107;
inline constexpr int KeySin = 108;
inline constexpr int KeyCos = 109;
inline constexpr int KeyTan = 110;
inline constexpr int KeyExp = 111;
inline constexpr int KeySqrt = 112;
inline constexpr int KeyExg = 113;
inline constexpr int KeyEex = 114;
inline constexpr int KeyPoint = 115;
inline constexpr int KeyEnter = 116;
inline constexpr int KeyRollDown = 117;
inline constexpr int KeySTO = 118;
inline constexpr int KeyRCL = 119;
inline constexpr int KeySum = 120;
inline constexpr int KeyPrefix = -1;                              // f and g
inline constexpr int NoKeyCode = std::numeric_limits<int>::min(); // close key, blank keys
inline constexpr int HighestKeyCode = KeySum;

// What a key code does for one prefix state.
enum class KeyAction : std::uint8_t {
    None,         // no operation; still a key press that ends an entry
    Digit,        // Arg: the digit
    Operation,    // Arg: the TZunOperation run by ExecOp
    BackArrow,    // deletes the last character of an entry, else X := 0
    ChangeSign,   // sign of the entry's mantissa or exponent, else zunCHS
    Exponent,     // starts the exponent of an entry
    DecimalPoint, // appends the decimal separator to an entry
    Enter,        // pushes the number of the display text
    LastX,        // LastKey := 0, then zunLastX
    PushPi,       // pushes pi
    FormatPrompt, // Arg: the TZunMode set at once; waits for the digit count
    AngleMode,    // Arg: the TZunTrigMode
    StorePrompt,  // waits for an operator or a register digit
    RecallPrompt, // likewise
};

struct KeyMeaning {
    KeyAction Action = KeyAction::None;
    std::uint8_t Arg = 0;

    friend constexpr bool operator==(const KeyMeaning&, const KeyMeaning&) = default;
};

// Actions that edit a number being keyed in instead of ending it. Their keys
// do not enter the last-key memory.
constexpr bool EditsEntry(KeyAction a) {
    return a == KeyAction::BackArrow || a == KeyAction::ChangeSign || a == KeyAction::Exponent ||
           a == KeyAction::DecimalPoint;
}

enum class Prefix : std::uint8_t { None = 0, F = 1, G = 2 };

enum class SpotKind : std::uint8_t {
    Key,    // hot spot whose code goes to the entry machine
    Prefix, // f or g: code -1, toggles the prefix
    Close,  // the ON key: closes the window, no code
    Blank,  // pictured key without a hot spot
};

enum class KeyColour : std::uint8_t { Plain, Gold, Blue };

struct FaceRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(const FaceRect&, const FaceRect&) = default;
};

struct FaceKey {
    std::string_view Control; // hot spot name; empty for a blank key
    SpotKind Kind = SpotKind::Key;
    int Code = NoKeyCode;
    int Row = 0; // 1 to 4
    int Col = 0; // 1 to 10
    int RowSpan = 1;
    FaceRect Bounds;          // design pixels at zoom 1.0
    std::string_view Legend;  // UTF-8, on the key
    std::string_view FName;   // gold, beside the key; empty for none
    std::string_view GName;   // blue, beside the key; empty for none
    char Letter = '\0';       // keyboard letter painted beside the key
    std::string_view Tooltip; // empty: no tooltip
    KeyColour Colour = KeyColour::Plain;
    bool Transparent = false;            // the hot spot is marked transparent (ENTER)
    std::array<KeyMeaning, 3> Meaning{}; // indexed by Prefix

    constexpr const KeyMeaning& For(Prefix p) const { return Meaning[static_cast<std::size_t>(p)]; }
};

namespace keydef {

constexpr KeyMeaning Op(TZunOperation op) {
    return {KeyAction::Operation, op};
}
constexpr KeyMeaning Act(KeyAction a, std::uint8_t arg = 0) {
    return {a, arg};
}
constexpr KeyMeaning Nothing{};
// Marks a shifted column that is the unshifted action; resolved by MakeKey.
constexpr KeyMeaning AsUnshifted{KeyAction::Digit, 0xFF};

struct Names {
    std::string_view F;
    std::string_view G;
};

constexpr FaceKey MakeKey(std::string_view control, int code, int row, int col, FaceRect r,
                          std::string_view legend, char letter, std::string_view tooltip,
                          KeyMeaning plain, KeyMeaning f, KeyMeaning g, Names names = {}) {
    FaceKey k;
    k.Control = control;
    k.Kind = SpotKind::Key;
    k.Code = code;
    k.Row = row;
    k.Col = col;
    k.Bounds = r;
    k.Legend = legend;
    k.FName = names.F;
    k.GName = names.G;
    k.Letter = letter;
    k.Tooltip = tooltip;
    k.Meaning = {plain, f == AsUnshifted ? plain : f, g == AsUnshifted ? plain : g};
    return k;
}

// A function key whose f column is the unshifted action.
constexpr FaceKey FnKey(std::string_view control, int code, int row, int col, FaceRect r,
                        std::string_view legend, char letter, std::string_view tooltip,
                        KeyMeaning plain, KeyMeaning g = AsUnshifted, std::string_view gName = {}) {
    return MakeKey(control, code, row, col, r, legend, letter, tooltip, plain, AsUnshifted, g,
                   {{}, gName});
}

constexpr FaceKey DigitKey(int digit, int row, int col, FaceRect r, KeyMeaning f, KeyMeaning g,
                           Names names = {}) {
    constexpr std::array<std::string_view, 10> controls = {"im0", "im1", "im2", "im3", "im4",
                                                           "im5", "im6", "im7", "im8", "im9"};
    constexpr std::array<std::string_view, 10> legends = {"0", "1", "2", "3", "4",
                                                          "5", "6", "7", "8", "9"};
    const auto d = static_cast<std::size_t>(digit);
    return MakeKey(controls[d], digit, row, col, r, legends[d], '\0', {},
                   Act(KeyAction::Digit, static_cast<std::uint8_t>(digit)), f, g, names);
}

constexpr FaceKey ControlKey(std::string_view control, SpotKind kind, int code, int row, int col,
                             FaceRect r, std::string_view legend, char letter,
                             std::string_view tooltip, KeyColour colour) {
    FaceKey k;
    k.Control = control;
    k.Kind = kind;
    k.Code = code;
    k.Row = row;
    k.Col = col;
    k.Bounds = r;
    k.Legend = legend;
    k.Letter = letter;
    k.Tooltip = tooltip;
    k.Colour = colour;
    return k;
}

constexpr FaceKey BlankKey(int row, int col, FaceRect r) {
    return ControlKey({}, SpotKind::Blank, NoKeyCode, row, col, r, {}, '\0', {}, KeyColour::Plain);
}

constexpr FaceKey Tall(FaceKey k) {
    k.RowSpan = 2;
    k.Transparent = true;
    return k;
}

constexpr KeyMeaning Fmt(TZunMode m) {
    return Act(KeyAction::FormatPrompt, m);
}
constexpr KeyMeaning Angle(TZunTrigMode m) {
    return Act(KeyAction::AngleMode, m);
}

} // namespace keydef

// All 39 pictured keys in keypad order (row by row, left to right): 35 hot
// spots and the four blank keys at rows 2 and 3, columns 1 and 2.
inline constexpr std::array<FaceKey, 39> FaceKeys = [] {
    using namespace keydef;
    using A = KeyAction;
    return std::array<FaceKey, 39>{
        // Row 1
        FnKey("imSqrt", KeySqrt, 1, 1, {44, 145, 37, 37}, "\u221Ax", 'w', "w", Op(zunSqrt),
              Op(zunSqr), "x\u00B2"),
        FnKey("imExp", KeyExp, 1, 2, {100, 145, 38, 37}, "e\u02E3", 'l', "l", Op(zunExp), Op(zunLn),
              "LN"),
        FnKey("imPwr10", KeyPwr10, 1, 3, {159, 145, 38, 39}, "10\u02E3", 'z', "z", Op(zunPwr10),
              Op(zunLog10), "LOG"),
        FnKey("imPwr", KeyPwr, 1, 4, {216, 144, 40, 38}, "y\u02E3", 'y', "y", Op(zunPwr), Op(zunPC),
              "%"),
        FnKey("imInv", KeyInv, 1, 5, {273, 145, 39, 40}, "1/x", 'i', "i", Op(zunInv), Op(zundPC),
              "\u0394%"),
        FnKey("imChs", KeyChs, 1, 6, {330, 144, 40, 43}, "CHS", 'c', {}, Act(A::ChangeSign),
              Op(zunAbs), "ABS"),
        DigitKey(7, 1, 7, {389, 144, 39, 39}, Fmt(zunFix), Angle(zunDeg), {"FIX", "DEG"}),
        DigitKey(8, 1, 8, {442, 142, 42, 41}, Fmt(zunSci), Angle(zunRad), {"SCI", "RAD"}),
        DigitKey(9, 1, 9, {503, 142, 40, 40}, Fmt(zunEng), Angle(zunGrad), {"ENG", "GRAD"}),
        FnKey("imDiv", KeyDiv, 1, 10, {561, 145, 38, 37}, "\u00F7", '\0', {}, Op(zunDiv)),
        // Row 2
        BlankKey(2, 1, {44, 210, 39, 38}),
        BlankKey(2, 2, {100, 210, 40, 38}),
        FnKey("imSin", KeySin, 2, 3, {159, 212, 42, 36}, "SIN", 'u', "u", Op(zunSin), Op(zunInvSin),
              "SIN\u207B\u00B9"),
        FnKey("imCos", KeyCos, 2, 4, {216, 210, 39, 36}, "COS", 'v', "v", Op(zunCos), Op(zunInvCos),
              "COS\u207B\u00B9"),
        FnKey("imTan", KeyTan, 2, 5, {271, 206, 40, 44}, "TAN", 't', "t", Op(zunTan), Op(zunInvTan),
              "TAN\u207B\u00B9"),
        FnKey("imEex", KeyEex, 2, 6, {328, 212, 42, 38}, "EEX", 'e', "e", Act(A::Exponent),
              Act(A::PushPi), "\u03C0"),
        DigitKey(4, 2, 7, {386, 211, 40, 39}, Nothing, Nothing),
        DigitKey(5, 2, 8, {445, 210, 40, 41}, Nothing, Nothing),
        DigitKey(6, 2, 9, {503, 209, 39, 41}, Nothing, Nothing),
        FnKey("imMul", KeyMul, 2, 10, {559, 209, 42, 43}, "\u00D7", '\0', {}, Op(zunMul)),
        // Row 3
        BlankKey(3, 1, {44, 275, 39, 39}),
        BlankKey(3, 2, {100, 275, 40, 39}),
        FnKey("imStackUp", KeyRollDown, 3, 3, {157, 277, 42, 39}, "R\u2193", '\0', "DEL",
              Op(zunStackDown), Op(zunStackUp), "R\u2191"),
        FnKey("imExg", KeyExg, 3, 4, {216, 277, 40, 38}, "x\u2277y", 'x', "x", Op(zunExc)),
        FnKey("imBack", KeyBack, 3, 5, {272, 275, 40, 39}, "\u2190", '\0', {}, Act(A::BackArrow)),
        Tall(MakeKey("imEnter", KeyEnter, 3, 6, {330, 272, 39, 106}, "ENTER", '\0', {},
                     Act(A::Enter), Op(zunRandom), Act(A::LastX), {"RAN #", "LSTx"})),
        DigitKey(1, 3, 7, {387, 273, 41, 41}, Op(zunToRect), Op(zunToPol), {"\u2192R", "\u2192P"}),
        DigitKey(2, 3, 8, {446, 271, 41, 45}, Op(zunToHMS), Op(zunToH), {"\u2192H.MS", "\u2192H"}),
        DigitKey(3, 3, 9, {503, 272, 39, 42}, Op(zunToRad), Op(zunToDeg),
                 {"\u2192RAD", "\u2192DEG"}),
        FnKey("imSub", KeySub, 3, 10, {560, 271, 40, 38}, "\u2212", '\0', {}, Op(zunSub)),
        // Row 4 (column 6 is the lower half of ENTER)
        ControlKey("imClose", SpotKind::Close, NoKeyCode, 4, 1, {44, 339, 41, 42}, "ON", 'q',
                   "Close Pellix", KeyColour::Plain),
        ControlKey("imF", SpotKind::Prefix, KeyPrefix, 4, 2, {100, 340, 41, 37}, "f", 'f', {},
                   KeyColour::Gold),
        ControlKey("imG", SpotKind::Prefix, KeyPrefix, 4, 3, {157, 340, 42, 40}, "g", 'g', "g",
                   KeyColour::Blue),
        MakeKey("imSTO", KeySTO, 4, 4, {219, 340, 38, 37}, "STO", 's', "s", Act(A::StorePrompt),
                Op(zunFrac), Op(zunInt), {"FRAC", "INT"}),
        FnKey("imRCL", KeyRCL, 4, 5, {272, 341, 39, 40}, "RCL", 'r', "r", Act(A::RecallPrompt)),
        DigitKey(0, 4, 7, {385, 337, 44, 42}, Op(zunFact), Nothing, {"x!", {}}),
        FnKey("imPt", KeyPoint, 4, 8, {442, 336, 43, 39}, "\u00B7", '\0', {}, Act(A::DecimalPoint)),
        MakeKey("imSum", KeySum, 4, 9, {500, 336, 43, 39}, "\u03A3+", '\0', {}, Nothing, Nothing,
                Nothing),
        FnKey("imAdd", KeyAdd, 4, 10, {560, 338, 41, 43}, "+", '\0', {}, Op(zunAdd)),
    };
}();

static_assert(
    [] {
        for (const FaceKey& k : FaceKeys) {
            for (const KeyMeaning& m : k.Meaning) {
                if (m == keydef::AsUnshifted) {
                    return false;
                }
            }
        }
        return true;
    }(),
    "every shifted column is resolved");

// The other controls laid over the face.
enum class FaceItemKind : std::uint8_t { HotSpot, Label };

struct FaceItem {
    std::string_view Control;
    FaceItemKind Kind = FaceItemKind::Label;
    FaceRect Bounds;       // Width and Height are 0 for an auto-sized label
    bool AutoSize = false; // sized to its text
    std::string_view Font; // empty for the hot spot
    int FontPixels = 0;
    bool Bold = false;
};

inline constexpr std::array<FaceItem, 5> FaceItems = {{
    {"imAbout", FaceItemKind::HotSpot, {560, 34, 46, 50}, false, {}, 0, false},
    {"lbDisplay", FaceItemKind::Label, {123, 40, 286, 51}, false, "Comic Sans MS", 29, true},
    {"lbF", FaceItemKind::Label, {181, 34, 0, 0}, true, "MS Sans Serif", 11, false},
    {"lbG", FaceItemKind::Label, {191, 34, 0, 0}, true, "MS Sans Serif", 11, false},
    {"lbTrig", FaceItemKind::Label, {202, 34, 15, 13}, false, "MS Sans Serif", 11, false},
}};

// Index in FaceKeys of a control name, or -1.
constexpr int IndexOfControl(std::string_view control) {
    for (std::size_t i = 0; i < FaceKeys.size(); ++i) {
        if (!control.empty() && FaceKeys[i].Control == control) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The key of a control name, or nullptr.
constexpr const FaceKey* KeyByControl(std::string_view control) {
    const int i = IndexOfControl(control);
    return i < 0 ? nullptr : &FaceKeys[static_cast<std::size_t>(i)];
}

constexpr const FaceItem* ItemByControl(std::string_view control) {
    for (const FaceItem& i : FaceItems) {
        if (i.Control == control) {
            return &i;
        }
    }
    return nullptr;
}

namespace detail {

inline constexpr std::array<std::int8_t, HighestKeyCode + 1> CodeIndex = [] {
    std::array<std::int8_t, HighestKeyCode + 1> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < FaceKeys.size(); ++i) {
        const int code = FaceKeys[i].Code;
        if (FaceKeys[i].Kind == SpotKind::Key && code >= 0 && code <= HighestKeyCode) {
            index[static_cast<std::size_t>(code)] = static_cast<std::int8_t>(i);
        }
    }
    return index;
}();

} // namespace detail

// The key hot spot carrying an entry code (0 to 9, 99 to 120), or nullptr for
// any other code (the prefix code -1 belongs to two keys and gives nullptr).
constexpr const FaceKey* KeyByCode(int code) {
    if (code < 0 || code > HighestKeyCode) {
        return nullptr;
    }
    const int i = detail::CodeIndex[static_cast<std::size_t>(code)];
    return i < 0 ? nullptr : &FaceKeys[static_cast<std::size_t>(i)];
}

// What a key code does for the active prefix; codes without a key do nothing.
constexpr KeyMeaning MeaningOf(int code, Prefix prefix) {
    const FaceKey* k = KeyByCode(code);
    return k == nullptr ? KeyMeaning{} : k->For(prefix);
}

} // namespace pellix
