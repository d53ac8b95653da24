#pragma once

// How the window pictures the calculator: the face's size, every pictured key
// with its place, painted keyboard letter, tooltip and colour, and the labels
// laid over the face with their fonts. What a key does and the names printed
// for it live in the key table; a key's look names the hot spot it pictures,
// the key's identity there (f and g share one key code, so the code alone
// could not tell them apart).

#include "keypad/keytable.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace pellix {

// Size of the window's client area at zoom 1.0 and of the face picture that
// fills it (stretched proportionally and centred).
inline constexpr int FaceClientWidth = 641;
inline constexpr int FaceClientHeight = 404;
inline constexpr int FacePictureWidth = 639;
inline constexpr int FacePictureHeight = 402;

enum class KeyColour : std::uint8_t { Plain, Gold, Blue };

struct FaceRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(const FaceRect&, const FaceRect&) = default;
};

struct KeyLook {
    std::string_view Control; // the hot spot pictured; empty for a blank key
    int Row = 0;              // 1 to 4
    int Col = 0;              // 1 to 10
    int RowSpan = 1;
    FaceRect Bounds;          // design pixels at zoom 1.0
    char Letter = '\0';       // keyboard letter painted beside the key
    std::string_view Tooltip; // empty: no tooltip
    KeyColour Colour = KeyColour::Plain;
    bool Transparent = false; // the hot spot is marked transparent (ENTER)
};

namespace lookdef {

constexpr KeyLook Look(std::string_view control, int row, int col, FaceRect r, char letter = '\0',
                       std::string_view tooltip = {}, KeyColour colour = KeyColour::Plain) {
    return {control, row, col, 1, r, letter, tooltip, colour, false};
}

constexpr KeyLook Blank(int row, int col, FaceRect r) {
    return Look({}, row, col, r);
}

constexpr KeyLook Tall(KeyLook k) {
    k.RowSpan = 2;
    k.Transparent = true;
    return k;
}

} // namespace lookdef

// All 39 pictured keys in keypad order (row by row, left to right): the 35 hot
// spots and the four blank keys at rows 2 and 3, columns 1 and 2.
inline constexpr std::array<KeyLook, 39> KeyLooks = [] {
    using namespace lookdef;
    return std::array<KeyLook, 39>{
        // Row 1
        Look("imSqrt", 1, 1, {44, 145, 37, 37}, 'w', "w"),
        Look("imExp", 1, 2, {100, 145, 38, 37}, 'l', "l"),
        Look("imPwr10", 1, 3, {159, 145, 38, 39}, 'z', "z"),
        Look("imPwr", 1, 4, {216, 144, 40, 38}, 'y', "y"),
        Look("imInv", 1, 5, {273, 145, 39, 40}, 'i', "i"),
        Look("imChs", 1, 6, {330, 144, 40, 43}, 'c'),
        Look("im7", 1, 7, {389, 144, 39, 39}),
        Look("im8", 1, 8, {442, 142, 42, 41}),
        Look("im9", 1, 9, {503, 142, 40, 40}),
        Look("imDiv", 1, 10, {561, 145, 38, 37}),
        // Row 2
        Blank(2, 1, {44, 210, 39, 38}),
        Blank(2, 2, {100, 210, 40, 38}),
        Look("imSin", 2, 3, {159, 212, 42, 36}, 'u', "u"),
        Look("imCos", 2, 4, {216, 210, 39, 36}, 'v', "v"),
        Look("imTan", 2, 5, {271, 206, 40, 44}, 't', "t"),
        Look("imEex", 2, 6, {328, 212, 42, 38}, 'e', "e"),
        Look("im4", 2, 7, {386, 211, 40, 39}),
        Look("im5", 2, 8, {445, 210, 40, 41}),
        Look("im6", 2, 9, {503, 209, 39, 41}),
        Look("imMul", 2, 10, {559, 209, 42, 43}),
        // Row 3
        Blank(3, 1, {44, 275, 39, 39}),
        Blank(3, 2, {100, 275, 40, 39}),
        Look("imStackUp", 3, 3, {157, 277, 42, 39}, '\0', "DEL"),
        Look("imExg", 3, 4, {216, 277, 40, 38}, 'x', "x"),
        Look("imBack", 3, 5, {272, 275, 40, 39}),
        Tall(Look("imEnter", 3, 6, {330, 272, 39, 106})),
        Look("im1", 3, 7, {387, 273, 41, 41}),
        Look("im2", 3, 8, {446, 271, 41, 45}),
        Look("im3", 3, 9, {503, 272, 39, 42}),
        Look("imSub", 3, 10, {560, 271, 40, 38}),
        // Row 4 (column 6 is the lower half of ENTER)
        Look("imClose", 4, 1, {44, 339, 41, 42}, 'q', "Close Pellix"),
        Look("imF", 4, 2, {100, 340, 41, 37}, 'f', {}, KeyColour::Gold),
        Look("imG", 4, 3, {157, 340, 42, 40}, 'g', "g", KeyColour::Blue),
        Look("imSTO", 4, 4, {219, 340, 38, 37}, 's', "s"),
        Look("imRCL", 4, 5, {272, 341, 39, 40}, 'r', "r"),
        Look("im0", 4, 7, {385, 337, 44, 42}),
        Look("imPt", 4, 8, {442, 336, 43, 39}),
        Look("imSum", 4, 9, {500, 336, 43, 39}),
        Look("imAdd", 4, 10, {560, 338, 41, 43}),
    };
}();

namespace detail {

// For every key of the key table, the index of its look.
inline constexpr std::array<std::int8_t, FaceKeys.size()> LookIndex = [] {
    std::array<std::int8_t, FaceKeys.size()> index{};
    for (std::size_t k = 0; k < FaceKeys.size(); ++k) {
        int found = -1;
        for (std::size_t i = 0; i < KeyLooks.size(); ++i) {
            if (KeyLooks[i].Control == FaceKeys[k].Control) {
                found = found < 0 ? static_cast<int>(i) : -2;
            }
        }
        if (found < 0) {
            throw "a key has no look or more than one"; // fails constant evaluation
        }
        index[k] = static_cast<std::int8_t>(found);
    }
    return index;
}();

} // namespace detail

static_assert(
    [] {
        for (const KeyLook& l : KeyLooks) {
            if (!l.Control.empty() && IndexOfControl(l.Control) < 0) {
                return false;
            }
        }
        return true;
    }(),
    "every pictured key with a name is a key of the key table");

// The look of a key of the key table (an element of FaceKeys, not a copy).
constexpr const KeyLook& LookOf(const FaceKey& key) {
    const auto k = static_cast<std::size_t>(&key - FaceKeys.data());
    return KeyLooks[static_cast<std::size_t>(detail::LookIndex[k])];
}

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

constexpr const FaceItem* ItemByControl(std::string_view control) {
    for (const FaceItem& i : FaceItems) {
        if (i.Control == control) {
            return &i;
        }
    }
    return nullptr;
}

} // namespace pellix
