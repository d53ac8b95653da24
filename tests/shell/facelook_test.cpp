// The face look: every pictured key's place, letter, tooltip and colour,
// joined to the key table, and the labels laid over the face.

#include "keypad/keyboard.h"
#include "shell/facelook.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <tuple>
#include <utility>

namespace pellix {
namespace {

// Legends and tooltips as the face shows them.
TEST(FaceLook, LegendsAndTooltips) {
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
        EXPECT_EQ(LookOf(*k).Tooltip, tooltip) << control;
    }
    int tooltips = 0;
    for (const KeyLook& k : KeyLooks) {
        tooltips += !k.Tooltip.empty();
    }
    EXPECT_EQ(tooltips, 15);
}

TEST(FaceLook, ThirtyFiveHotSpotsFillTheGrid) {
    std::set<std::pair<int, int>> cells;
    int hotSpots = 0;
    for (const KeyLook& k : KeyLooks) {
        hotSpots += !k.Control.empty();
        for (int row = k.Row; row < k.Row + k.RowSpan; ++row) {
            EXPECT_TRUE(cells.insert({row, k.Col}).second) << k.Control;
        }
        const FaceRect& b = k.Bounds;
        EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Width > 0 && b.Height > 0 &&
                    b.Left + b.Width <= FaceClientWidth && b.Top + b.Height <= FaceClientHeight)
            << k.Control;
    }
    EXPECT_EQ(hotSpots, 35);
    EXPECT_EQ(cells.size(), 40u);
    for (const auto& [row, col] : {std::pair{2, 1}, {2, 2}, {3, 1}, {3, 2}}) {
        bool blank = false;
        for (const KeyLook& k : KeyLooks) {
            blank |= k.Row == row && k.Col == col && k.Control.empty();
        }
        EXPECT_TRUE(blank) << row << "," << col;
    }
    for (std::size_t i = 0; i < KeyLooks.size(); ++i) { // pictured keys do not overlap
        for (std::size_t j = i + 1; j < KeyLooks.size(); ++j) {
            const FaceRect& a = KeyLooks[i].Bounds;
            const FaceRect& b = KeyLooks[j].Bounds;
            EXPECT_TRUE(a.Left + a.Width <= b.Left || b.Left + b.Width <= a.Left ||
                        a.Top + a.Height <= b.Top || b.Top + b.Height <= a.Top)
                << i << " " << j;
        }
    }
}

TEST(FaceLook, PaintedLettersAreKeyboardKeys) {
    int letters = 0;
    for (const FaceKey& key : FaceKeys) {
        const KeyLook& k = LookOf(key);
        if (k.Letter == '\0' || k.Letter == 'q') {
            continue;
        }
        ++letters;
        const auto upper = static_cast<std::uint16_t>(std::toupper(k.Letter));
        EXPECT_EQ(KeyToSender(upper), &key) << k.Letter;
        if (!k.Tooltip.empty()) {
            EXPECT_EQ(k.Tooltip, std::string(1, k.Letter));
        }
    }
    EXPECT_EQ(letters, 15);
    EXPECT_EQ(LookOf(*KeyByControl("imClose")).Letter, 'q');
}

TEST(FaceLook, OtherControls) {
    EXPECT_EQ(ItemByControl("imAbout")->Bounds, (FaceRect{560, 34, 46, 50}));
    EXPECT_EQ(ItemByControl("lbDisplay")->Bounds, (FaceRect{123, 40, 286, 51}));
    EXPECT_EQ(ItemByControl("lbDisplay")->Font, "Comic Sans MS");
    EXPECT_TRUE(ItemByControl("lbF")->AutoSize && ItemByControl("lbG")->AutoSize);
    EXPECT_EQ(ItemByControl("lbG")->Bounds.Left, 191);
    EXPECT_EQ(ItemByControl("lbTrig")->Bounds, (FaceRect{202, 34, 15, 13}));
    const KeyLook& enter = LookOf(*KeyByCode(KeyEnter));
    EXPECT_EQ(enter.Bounds, (FaceRect{330, 272, 39, 106}));
    EXPECT_TRUE(enter.Transparent && enter.RowSpan == 2);
    EXPECT_EQ(LookOf(*KeyByControl("imF")).Colour, KeyColour::Gold);
    EXPECT_EQ(LookOf(*KeyByControl("imG")).Colour, KeyColour::Blue);
}

} // namespace
} // namespace pellix
