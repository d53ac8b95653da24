// STO and RCL prompts with their register arithmetic, and faults that end a
// press: what the display, the stack, the register and the flags hold after.

#include "keys.h"

#include <cmath>
#include <limits>

namespace pellix::test {
namespace {

// Register 3 holds 2 and 5 is keyed before each sequence.
struct RegisterCase {
    const char* keys;
    const char* display;
    double x;
    double y;
    double reg3;
    bool stoArmed = false;

    friend void PrintTo(const RegisterCase& c, std::ostream* os) { *os << c.keys; }
};

class KeypadRegister : public EntryTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(KeypadRegister, PromptsAndArithmetic) {
    const RegisterCase& c = GetParam();
    calc.Reg[3] = 2;
    Keys(std::string("5 ") + c.keys);
    EXPECT_EQ(Display(), c.display);
    EXPECT_DOUBLE_EQ(X(), c.x);
    EXPECT_DOUBLE_EQ(Y(), c.y);
    EXPECT_DOUBLE_EQ(calc.Reg[3], c.reg3);
    EXPECT_EQ(entry.IsSTOInput(), c.stoArmed);
    EXPECT_FALSE(entry.IsRCLInput());
}

const RegisterCase kRegister[] = {
    {"STO 3", "5.000000000", 5, 0, 5},
    {"STO + 3", "5.000000000", 5, 0, 7},
    {"STO - 3", "5.000000000", 5, 0, -3},
    {"STO * 3", "5.000000000", 5, 0, 10},
    {"STO / 3", "5.000000000", 5, 0, 0.4},
    {"STO + - 3", "5.000000000", 5, 0, -3},
    {"STO / * + 3", "5.000000000", 5, 0, 7},
    {"STO +", "STO+ _", 5, 0, 2, true},
    {"STO ENTER CHS EEX . SUM SIN #50", "STO _", 5, 0, 2, true},
    {"STO BACK", "5.000000000", 5, 0, 2},
    {"STO + BACK 3", "3_", 5, 0, 2},
    {"RCL 3", "2.000000000", 2, 5, 2},
    {"RCL + 3", "7.000000000", 7, 5, 2},
    {"RCL - 3", "-3.000000000", -3, 5, 2},
    {"RCL * 3", "10.000000000", 10, 5, 2},
    {"RCL / 3", "0.400000000", 0.4, 5, 2},
    {"RCL * - 3", "-3.000000000", -3, 5, 2},
    {"RCL BACK", "5.000000000", 5, 0, 2},
    {"ENTER STO 3 +", "10.000000000", 10, 0, 5}, // a stored keyed-in number stays X
    {"RCL 3 7", "7_", 2, 5, 2},                  // a digit after RCL starts a new number
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadRegister, ::testing::ValuesIn(kRegister),
                         KeysName<RegisterCase>);

TEST_F(EntryTest, KeypadPrefixToggledDuringPromptStaysActive) {
    Keys("7 STO f 3");
    EXPECT_TRUE(entry.IsFPrefix());
    EXPECT_EQ(calc.Reg[3], 7);
    Keys("RCL g 3");
    EXPECT_TRUE(entry.IsGPrefix());
    EXPECT_DOUBLE_EQ(X(), 7);
    Keys("f 7 g 2");
    EXPECT_TRUE(entry.IsGPrefix());
    EXPECT_EQ(calc.FixLen, 2);
    Keys("g STO f ENTER"); // g off; ENTER is ignored by the prompt and f survives it
    EXPECT_TRUE(entry.IsFPrefix());
    EXPECT_EQ(Display(), "STO _");
}

// Faults of the register arithmetic leave the register, the stack and the
// armed prompt as they were and show the fault's message.
struct FaultCase {
    double reg0;
    const char* keys; // register 0 is the target
    const char* message;
    bool store;

    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.keys; }
};

class KeypadRegisterFault : public EntryTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(KeypadRegisterFault, EndsPressKeepsPrompt) {
    const FaultCase& c = GetParam();
    calc.Reg[0] = c.reg0;
    Keys(c.keys);
    EXPECT_EQ(Display(), c.message);
    EXPECT_EQ(entry.IsSTOInput(), c.store);
    EXPECT_EQ(entry.IsRCLInput(), !c.store);
    EXPECT_EQ(entry.LastKey(), c.store ? KeySTO : KeyRCL);
    if (std::isnan(c.reg0)) {
        EXPECT_TRUE(std::isnan(calc.Reg[0]));
    } else {
        EXPECT_EQ(calc.Reg[0], c.reg0);
    }
    const double x = X();
    const double y = Y();
    Keys("0"); // the display no longer shows an operator: plain STO or RCL
    EXPECT_FALSE(entry.IsSTOInput() || entry.IsRCLInput());
    if (c.store) {
        EXPECT_EQ(calc.Reg[0], x);
        EXPECT_EQ(Y(), y);
    } else {
        EXPECT_EQ(Y(), x);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kZeroDivide = "Gleitkommadivision durch Null";
constexpr const char* kOverflow = "Gleitkomma\u00fcberlauf";
constexpr const char* kInvalid = "Ung\u00fcltige Gleitkommaoperation";

const FaultCase kFaults[] = {
    {5, "0 STO / 0", kZeroDivide, true},
    {-5, "0 STO / 0", kZeroDivide, true},
    {0, "0 STO / 0", kInvalid, true},
    {1e300, "1 EEX 3 0 0 STO * 0", kOverflow, true},
    {-1.7e308, "1 . 7 EEX 3 0 8 STO - 0", kOverflow, true},
    {1.7e308, "1 . 7 EEX 3 0 8 STO + 0", kOverflow, true},
    {1e300, "1 EEX 3 0 0 CHS STO / * / 0", kOverflow, true},
    {kNaN, "1 STO + 0", kInvalid, true},
    {5, "0 RCL / 0", kZeroDivide, false},
    {0, "0 RCL / 0", kInvalid, false},
    {1e300, "1 EEX 3 0 0 RCL * 0", kOverflow, false},
    {kNaN, "1 RCL - 0", kInvalid, false},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadRegisterFault, ::testing::ValuesIn(kFaults),
                         KeysName<FaultCase>);

TEST_F(EntryTest, KeypadRegisterFaultKeepsPrefixAndBackCancels) {
    calc.Reg[4] = 1;
    Keys("RCL / g 4");
    EXPECT_EQ(Display(), kZeroDivide);
    EXPECT_TRUE(entry.IsGPrefix());
    EXPECT_EQ(X(), 0);
    Keys("BACK");
    EXPECT_FALSE(entry.IsRCLInput());
    EXPECT_EQ(Display(), "0.000000000");
}

TEST_F(EntryTest, KeypadUnderflowInRegisterIsNoFault) {
    calc.Reg[2] = 1e-300;
    Keys("1 EEX 3 0 0 STO / 2");
    EXPECT_EQ(calc.Reg[2], 0);
    EXPECT_FALSE(entry.IsSTOInput());
}

TEST_F(EntryTest, KeypadKeyedOverflowLeavesEntryOpen) {
    Keys("7 ENTER 1 + 9 EEX 4 9 9 ENTER");
    EXPECT_EQ(Display(), kOverflow);
    EXPECT_FALSE(calc.Input);
    EXPECT_EQ(X(), 8);
    EXPECT_EQ(Y(), 0);
    EXPECT_EQ(entry.LastKey(), KeyAdd);
    Keys("1"); // 18 characters: the digit is dropped
    EXPECT_EQ(Display(), kOverflow);
    Keys("+"); // the error text counts as the number 0
    EXPECT_EQ(Display(), "8.000000000");
    EXPECT_TRUE(calc.Input);
}

TEST_F(EntryTest, KeypadKeyedOverflowAfterEnterKeepsX) {
    Keys("7 ENTER 9 EEX 4 9 9 SIN");
    EXPECT_EQ(Display(), kOverflow);
    EXPECT_EQ(X(), 7);
    EXPECT_EQ(Y(), 7);
    EXPECT_EQ(calc.LastX, 0);
}

TEST_F(EntryTest, KeypadInvalidOperationReachesFaultHandler) {
    Keys("5 ENTER 1 CHS f SQRT");
    EXPECT_EQ(Display(), kInvalid);
    EXPECT_TRUE(entry.IsFPrefix());
    EXPECT_EQ(entry.LastKey(), KeySqrt);
    EXPECT_EQ(X(), 5); // the operand is gone
    entry.RefreshDisplay();
    EXPECT_EQ(Display(), "5.000000000");

    Keys("f 1 CHS"); // f off again first
    EXPECT_THROW(entry.KeyClick(KeySqrt), EInvalidOp);
}

struct MessageCase {
    const char* message;
    const char* shown;

    friend void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.message; }
};

class KeypadAppException : public EntryTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(KeypadAppException, ShowsMessageOnce) {
    Keys("4");
    entry.AppException(GetParam().message);
    EXPECT_EQ(Display(), GetParam().shown);
    entry.RefreshDisplay();
    EXPECT_EQ(Display(), "0.000000000");
}

const MessageCase kMessages[] = {
    {"invalid floating point operation", "Invalid Data"},
    {"floating", "Invalid Data"},
    {"Floating point division", "Floating point division"},
    {"FLOATING", "FLOATING"},
    {kZeroDivide, kZeroDivide},
    {"Clipboard cannot be opened", "Clipboard cannot be opened"},
    {"", "0.000000000"},
};

INSTANTIATE_TEST_SUITE_P(Keypad, KeypadAppException, ::testing::ValuesIn(kMessages));

} // namespace
} // namespace pellix::test
