#include "enginekeys.h"
#include "zuncalc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pellix {
namespace {

TZunCalc SampleCalc() {
    TZunCalc c(1);
    c.Mode = zunEng;
    c.TrigMode = zunGrad;
    c.FixLen = 4;
    c.LastX = -2.5;
    c.Stack = {1.0 / 3, 1e20, -0.0, 1.5e-10};
    for (std::size_t i = 0; i < c.Reg.size(); ++i)
        c.Reg[i] = static_cast<double>(i) + 0.25;
    return c;
}

TEST(EngineKeys, FreshDocumentGetsAllKeysInStoreOrder) {
    TIniDocument doc;
    WriteEngineKeys(doc, SampleCalc(), ",");
    EXPECT_EQ(doc.Text(), "[ZunMain]\n"
                          "Zun.Mode=2\nZun.TrigMode=2\nZun.FixLen=4\nZun.LastX=-2,5\n"
                          "Zun.Stack[0]=0,333333333333333\nZun.Stack[1]=1E20\n"
                          "Zun.Stack[2]=-0\nZun.Stack[3]=1,5E-10\n"
                          "Zun.Reg[0]=0,25\nZun.Reg[1]=1,25\nZun.Reg[2]=2,25\nZun.Reg[3]=3,25\n"
                          "Zun.Reg[4]=4,25\nZun.Reg[5]=5,25\nZun.Reg[6]=6,25\nZun.Reg[7]=7,25\n"
                          "Zun.Reg[8]=8,25\nZun.Reg[9]=9,25\n");
}

TEST(EngineKeys, WrittenStateReadsBackWithFifteenDigits) {
    TIniDocument doc;
    const TZunCalc saved = SampleCalc();
    WriteEngineKeys(doc, saved, ".");
    TZunCalc loaded(2);
    ReadEngineKeys(doc, loaded, ".");
    EXPECT_EQ(loaded.Mode, saved.Mode);
    EXPECT_EQ(loaded.TrigMode, saved.TrigMode);
    EXPECT_EQ(loaded.FixLen, saved.FixLen);
    EXPECT_EQ(loaded.LastX, saved.LastX);
    EXPECT_EQ(loaded.Stack[0], 0.333333333333333); // not the identical double
    EXPECT_NE(loaded.Stack[0], saved.Stack[0]);
    EXPECT_EQ(loaded.Stack[1], saved.Stack[1]);
    EXPECT_TRUE(std::signbit(loaded.Stack[2]));
    EXPECT_EQ(loaded.Stack[3], saved.Stack[3]);
    EXPECT_EQ(loaded.Reg, saved.Reg);
}

TEST(EngineKeys, MissingOrUnreadableKeysKeepCurrentValues) {
    const TIniDocument doc("[ZunMain]\nZun.FixLen=abc\nZun.Stack[1]=0,5\nZun.Reg[9]=7\n"
                           "Zun.Reg[10]=8\n[Other]\nZun.LastX=3\n");
    TZunCalc calc = SampleCalc();
    const TZunCalc before = calc;
    ReadEngineKeys(doc, calc, ".");
    EXPECT_EQ(calc.Mode, before.Mode);
    EXPECT_EQ(calc.FixLen, before.FixLen);
    EXPECT_EQ(calc.LastX, before.LastX);       // only ZunMain counts
    EXPECT_EQ(calc.Stack[1], before.Stack[1]); // decimal comma under a decimal point
    EXPECT_EQ(calc.Reg[9], 7.0);
    EXPECT_EQ(calc.Reg[8], before.Reg[8]);
}

TEST(EngineKeys, ModesTakeTheLowEightBitsWithoutRangeCheck) {
    const TIniDocument doc("[zunmain]\nzun.mode=257\nZUN.TRIGMODE=0x107\nZun.FixLen=-40\n");
    TZunCalc calc(1);
    ReadEngineKeys(doc, calc, ".");
    EXPECT_EQ(calc.Mode, zunSci);
    EXPECT_EQ(static_cast<int>(calc.TrigMode), 7); // kept as read
    EXPECT_EQ(calc.FixLen, -40);
}

TEST(EngineKeys, WritingKeepsForeignContentAndReplacesInPlace) {
    TIniDocument doc("; keep me\r\n[ZunMain]\r\nLeft=10\r\nZun.FixLen=2\r\nSound=0\r\n\r\n"
                     "[About]\r\nx=1\r\n");
    TZunCalc calc(1);
    calc.FixLen = 6;
    WriteEngineKeys(doc, calc, ".");
    const std::string& t = doc.Text();
    EXPECT_TRUE(t.starts_with("; keep me\r\n[ZunMain]\r\nLeft=10\r\nZun.FixLen=6\r\nSound=0\r\n"
                              "Zun.Mode=0\r\nZun.TrigMode=0\r\nZun.LastX=0\r\n"))
        << t;
    EXPECT_TRUE(t.ends_with("Zun.Reg[9]=0\r\n\r\n[About]\r\nx=1\r\n")) << t;
}

} // namespace
} // namespace pellix
