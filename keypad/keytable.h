#pragma once

// The keys of the calculator: every hot spot's name, kind, legend and what its
// key code does unshifted, after f and after g, with the names printed for the
// shifted functions. The entry machine looks up the meaning of a key code here;
// where and how the window pictures each key is the face look's matter (shell),
// joined by the hot spot name.

#include "engine/zuncalc.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace pellix {

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
inline constexpr int NoKeyCode = std::numeric_limits<int>::min(); // close key
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
};

struct FaceKey {
    std::string_view Control; // hot spot name, the key's identity
    SpotKind Kind = SpotKind::Key;
    int Code = NoKeyCode;
    std::string_view Legend;             // UTF-8, on the key
    std::string_view FName;              // what f makes of it, printed beside it; empty for none
    std::string_view GName;              // likewise for g
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

constexpr FaceKey MakeKey(std::string_view control, int code, std::string_view legend,
                          KeyMeaning plain, KeyMeaning f, KeyMeaning g, Names names = {}) {
    return {control,
            SpotKind::Key,
            code,
            legend,
            names.F,
            names.G,
            {plain, f == AsUnshifted ? plain : f, g == AsUnshifted ? plain : g}};
}

// A function key whose f column is the unshifted action.
constexpr FaceKey FnKey(std::string_view control, int code, std::string_view legend,
                        KeyMeaning plain, KeyMeaning g = AsUnshifted, std::string_view gName = {}) {
    return MakeKey(control, code, legend, plain, AsUnshifted, g, {{}, gName});
}

constexpr FaceKey DigitKey(int digit, KeyMeaning f, KeyMeaning g, Names names = {}) {
    constexpr std::array<std::string_view, 10> controls = {"im0", "im1", "im2", "im3", "im4",
                                                           "im5", "im6", "im7", "im8", "im9"};
    constexpr std::array<std::string_view, 10> legends = {"0", "1", "2", "3", "4",
                                                          "5", "6", "7", "8", "9"};
    const auto d = static_cast<std::size_t>(digit);
    return MakeKey(controls[d], digit, legends[d],
                   Act(KeyAction::Digit, static_cast<std::uint8_t>(digit)), f, g, names);
}

constexpr FaceKey ControlKey(std::string_view control, SpotKind kind, int code,
                             std::string_view legend) {
    return {control, kind, code, legend, {}, {}, {}};
}

constexpr KeyMeaning Fmt(TZunMode m) {
    return Act(KeyAction::FormatPrompt, m);
}
constexpr KeyMeaning Angle(TZunTrigMode m) {
    return Act(KeyAction::AngleMode, m);
}

} // namespace keydef

// The 35 hot spots of the keypad, row by row, left to right.
inline constexpr std::array<FaceKey, 35> FaceKeys = [] {
    using namespace keydef;
    using A = KeyAction;
    return std::array<FaceKey, 35>{
        // Row 1
        FnKey("imSqrt", KeySqrt, "\u221Ax", Op(zunSqrt), Op(zunSqr), "x\u00B2"),
        FnKey("imExp", KeyExp, "e\u02E3", Op(zunExp), Op(zunLn), "LN"),
        FnKey("imPwr10", KeyPwr10, "10\u02E3", Op(zunPwr10), Op(zunLog10), "LOG"),
        FnKey("imPwr", KeyPwr, "y\u02E3", Op(zunPwr), Op(zunPC), "%"),
        FnKey("imInv", KeyInv, "1/x", Op(zunInv), Op(zundPC), "\u0394%"),
        FnKey("imChs", KeyChs, "CHS", Act(A::ChangeSign), Op(zunAbs), "ABS"),
        DigitKey(7, Fmt(zunFix), Angle(zunDeg), {"FIX", "DEG"}),
        DigitKey(8, Fmt(zunSci), Angle(zunRad), {"SCI", "RAD"}),
        DigitKey(9, Fmt(zunEng), Angle(zunGrad), {"ENG", "GRAD"}),
        FnKey("imDiv", KeyDiv, "\u00F7", Op(zunDiv)),
        // Row 2 (columns 1 and 2 are blank keys)
        FnKey("imSin", KeySin, "SIN", Op(zunSin), Op(zunInvSin), "SIN\u207B\u00B9"),
        FnKey("imCos", KeyCos, "COS", Op(zunCos), Op(zunInvCos), "COS\u207B\u00B9"),
        FnKey("imTan", KeyTan, "TAN", Op(zunTan), Op(zunInvTan), "TAN\u207B\u00B9"),
        FnKey("imEex", KeyEex, "EEX", Act(A::Exponent), Act(A::PushPi), "\u03C0"),
        DigitKey(4, Nothing, Nothing),
        DigitKey(5, Nothing, Nothing),
        DigitKey(6, Nothing, Nothing),
        FnKey("imMul", KeyMul, "\u00D7", Op(zunMul)),
        // Row 3 (columns 1 and 2 are blank keys)
        FnKey("imStackUp", KeyRollDown, "R\u2193", Op(zunStackDown), Op(zunStackUp), "R\u2191"),
        FnKey("imExg", KeyExg, "x\u2277y", Op(zunExc)),
        FnKey("imBack", KeyBack, "\u2190", Act(A::BackArrow)),
        MakeKey("imEnter", KeyEnter, "ENTER", Act(A::Enter), Op(zunRandom), Act(A::LastX),
                {"RAN #", "LSTx"}),
        DigitKey(1, Op(zunToRect), Op(zunToPol), {"\u2192R", "\u2192P"}),
        DigitKey(2, Op(zunToHMS), Op(zunToH), {"\u2192H.MS", "\u2192H"}),
        DigitKey(3, Op(zunToRad), Op(zunToDeg), {"\u2192RAD", "\u2192DEG"}),
        FnKey("imSub", KeySub, "\u2212", Op(zunSub)),
        // Row 4 (column 6 is the lower half of ENTER)
        ControlKey("imClose", SpotKind::Close, NoKeyCode, "ON"),
        ControlKey("imF", SpotKind::Prefix, KeyPrefix, "f"),
        ControlKey("imG", SpotKind::Prefix, KeyPrefix, "g"),
        MakeKey("imSTO", KeySTO, "STO", Act(A::StorePrompt), Op(zunFrac), Op(zunInt),
                {"FRAC", "INT"}),
        FnKey("imRCL", KeyRCL, "RCL", Act(A::RecallPrompt)),
        DigitKey(0, Op(zunFact), Nothing, {"x!", {}}),
        FnKey("imPt", KeyPoint, "\u00B7", Act(A::DecimalPoint)),
        MakeKey("imSum", KeySum, "\u03A3+", Nothing, Nothing, Nothing),
        FnKey("imAdd", KeyAdd, "+", Op(zunAdd)),
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
