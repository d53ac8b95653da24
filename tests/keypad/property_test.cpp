// Random key sequences: whatever is pressed, the entry machine stays in a
// consistent state and every fault ends in the display.

#include "keypad/entry.h"
#include "keypad/keyboard.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <random>
#include <string>

using namespace pellix;

namespace {

size_t CodePoints(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

// Error texts, and what the entry keys made of one after a keyed-in number
// overflowed (it is then edited like an entry text): these may be clipped at
// the display's edge. Numbers and prompts hold no lower-case letter; every
// error text does.
bool IsErrorText(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

struct Sequence {
    unsigned seed;
    Separators sep;
    friend std::ostream& operator<<(std::ostream& os, const Sequence& s) {
        return os << "seed " << s.seed;
    }
};

class RandomKeys : public ::testing::TestWithParam<Sequence> {};

TEST_P(RandomKeys, StateStaysConsistent) {
    std::mt19937 rng(GetParam().seed);
    TZunCalc calc(GetParam().seed);
    calc.Regional = GetParam().sep;
    TZunEntry entry(calc);
    entry.RefreshDisplay();
    std::uniform_int_distribution<int> pick(0, 99);
    std::string history;
    for (int i = 0; i < 20000; ++i) {
        const int r = pick(rng);
        if (r < 45) {
            const int d = pick(rng) % 10;
            entry.Press(d);
            history += std::to_string(d) + ' ';
        } else if (r < 85) {
            const int code = 99 + pick(rng) % 22;
            entry.Press(code);
            history += '#' + std::to_string(code) + ' ';
        } else if (r < 92) {
            entry.lbFClick(r % 2 ? PrefixSender::FKey : PrefixSender::GKey);
            history += "fg ";
        } else if (r < 96) {
            const auto ch = static_cast<char16_t>(32 + pick(rng) % 95);
            if (ch != u'q' && ch != u'Q') {
                entry.TypeChar(ch);
            }
            history += "= ";
        } else {
            entry.Press(pick(rng) * 1000 - 50000); // codes without a key
        }
        const std::string& text = entry.DisplayText();
        const int prompts = entry.IsFracInput() + entry.IsSTOInput() + entry.IsRCLInput();
        ASSERT_LE(prompts, 1) << history;
        ASSERT_FALSE(entry.IsFPrefix() && entry.IsGPrefix()) << history;
        if (!IsErrorText(text)) {
            ASSERT_LE(CodePoints(text), MaxDisplayChars) << text << " after " << history;
        }
        if (prompts == 1 && !IsErrorText(text)) {
            ASSERT_NE(text.find('_'), std::string::npos) << "a prompt shows its cursor";
        }
        if (!calc.Input && prompts == 0 && !IsErrorText(text)) {
            // Keying: digits, one separator, one E, minus signs, the cursor.
            ASSERT_LE(CodePoints(text), 16u) << text;
        }
        if (history.size() > 400) {
            history.erase(0, history.size() - 200);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomKeys,
                         ::testing::Values(Sequence{1, {".", ","}}, Sequence{2, {",", "."}},
                                           Sequence{3, {".", ""}}, Sequence{4, {",", "\u202f"}},
                                           Sequence{5, {"\u066b", "\u066c"}},
                                           Sequence{6, {".", ","}}));

} // namespace
