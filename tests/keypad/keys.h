#pragma once

#include "keypad/entry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>

namespace pellix::test {

// Key code of a token: digits, "#N" for code N, or a key name.
inline int CodeOf(const std::string& t) {
    static const std::pair<const char*, int> names[] = {
        {"ENTER", KeyEnter}, {"+", KeyAdd},     {"-", KeySub},   {"*", KeyMul},
        {"/", KeyDiv},       {"CHS", KeyChs},   {"EEX", KeyEex}, {".", KeyPoint},
        {"BACK", KeyBack},   {"SQRT", KeySqrt}, {"EXP", KeyExp}, {"YX", KeyPwr},
        {"INV", KeyInv},     {"SIN", KeySin},   {"XY", KeyExg},  {"RDN", KeyRollDown},
        {"STO", KeySTO},     {"RCL", KeyRCL},   {"SUM", KeySum}, {"10X", KeyPwr10}};
    if (t.size() == 1 && t[0] >= '0' && t[0] <= '9') {
        return t[0] - '0';
    }
    if (t.size() > 1 && t[0] == '#') {
        return std::stoi(t.substr(1));
    }
    for (const auto& [name, code] : names) {
        if (t == name) {
            return code;
        }
    }
    ADD_FAILURE() << "unknown key token " << t;
    return NoKeyCode;
}

// A fresh engine (fixed random seed, FIX 9, "." and ",") and its entry machine
// showing the first display, as after start-up.
class EntryTest : public ::testing::Test {
protected:
    TZunCalc calc{12345};
    TZunEntry entry{calc};

    void SetUp() override { entry.RefreshDisplay(); }

    // Presses the blank-separated keys through the fault handler; "f" and "g"
    // are the prefix keys, "PASTE:text" pastes the text.
    void Keys(const std::string& keys) {
        std::istringstream in(keys);
        for (std::string t; in >> t;) {
            if (t.starts_with("PASTE:")) {
                entry.Paste(t.substr(6));
            } else if (t == "f") {
                entry.lbFClick(PrefixSender::FKey);
            } else if (t == "g") {
                entry.lbFClick(PrefixSender::GKey);
            } else {
                entry.Press(CodeOf(t));
            }
        }
    }

    const std::string& Display() const { return entry.DisplayText(); }
    double X() const { return calc.Stack[0]; }
    double Y() const { return calc.Stack[1]; }
    double Z() const { return calc.Stack[2]; }
};

inline std::string TestName(const std::string& keys, std::size_t index) {
    std::string name;
    for (const char c : keys) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name + "_" + std::to_string(index);
}

// Test name of a parameter with a `keys` sequence.
template <class Case>
std::string KeysName(const ::testing::TestParamInfo<Case>& p) {
    return TestName(p.param.keys, p.index);
}

} // namespace pellix::test
