#include "state/settingsschema.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pellix {
namespace {

// The engine's keys alone, as pellix-keys reads and writes them.
void ReadEngineKeys(const TIniDocument& doc, TZunCalc& calc, std::string_view sep) {
    TKeptTexts none;
    ReadSettings(doc, {calc}, sep, none);
}
void WriteEngineKeys(TIniDocument& doc, TZunCalc calc, std::string_view sep) {
    TKeptTexts none;
    WriteSettings(doc, {calc}, sep, none);
}

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
                          "Zun.Stack[0]=0,3333333333333333\nZun.Stack[1]=1E20\n"
                          "Zun.Stack[2]=-0\nZun.Stack[3]=1,5E-10\n"
                          "Zun.Reg[0]=0,25\nZun.Reg[1]=1,25\nZun.Reg[2]=2,25\nZun.Reg[3]=3,25\n"
                          "Zun.Reg[4]=4,25\nZun.Reg[5]=5,25\nZun.Reg[6]=6,25\nZun.Reg[7]=7,25\n"
                          "Zun.Reg[8]=8,25\nZun.Reg[9]=9,25\n");
}

TEST(EngineKeys, WrittenStateReadsBackIdentical) {
    TIniDocument doc;
    const TZunCalc saved = SampleCalc();
    WriteEngineKeys(doc, saved, ".");
    TZunCalc loaded(2);
    ReadEngineKeys(doc, loaded, ".");
    EXPECT_EQ(loaded.Mode, saved.Mode);
    EXPECT_EQ(loaded.TrigMode, saved.TrigMode);
    EXPECT_EQ(loaded.FixLen, saved.FixLen);
    EXPECT_EQ(loaded.LastX, saved.LastX);
    EXPECT_EQ(loaded.Stack[0], saved.Stack[0]);
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
    EXPECT_EQ(calc.LastX, before.LastX); // only ZunMain counts
    EXPECT_EQ(calc.Stack[1], 0.5);       // decimal comma under a decimal point
    EXPECT_EQ(calc.Reg[9], 7.0);
    EXPECT_EQ(calc.Reg[8], before.Reg[8]);
}

struct ModeCase {
    const char* Lines;
    int Mode, Trig, FixLen; // the current values are 2, 1 and 4
};
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.Lines;
}

class EngineModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(EngineModes, TakeTheLowEightBitsAndTheCurrentValueOutsideTheirRange) {
    const TIniDocument doc(std::string("[zunmain]\n") + GetParam().Lines);
    TZunCalc calc(1);
    calc.Mode = zunEng;
    calc.TrigMode = zunRad;
    calc.FixLen = 4;
    ReadEngineKeys(doc, calc, ".");
    EXPECT_EQ(static_cast<int>(calc.Mode), GetParam().Mode);
    EXPECT_EQ(static_cast<int>(calc.TrigMode), GetParam().Trig);
    EXPECT_EQ(calc.FixLen, GetParam().FixLen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngineModes,
    ::testing::Values(ModeCase{"zun.mode=257\nZUN.TRIGMODE=0x102\nZun.FixLen=0", 1, 2, 0},
                      ModeCase{"Zun.Mode=0\nZun.TrigMode=0\nZun.FixLen=9", 0, 0, 9},
                      ModeCase{"Zun.Mode=3\nZun.TrigMode=0x107\nZun.FixLen=10", 2, 1, 4},
                      ModeCase{"Zun.Mode=-1\nZun.TrigMode=5\nZun.FixLen=-1", 2, 1, 4},
                      ModeCase{"Zun.Mode=x\nZun.TrigMode=255\nZun.FixLen=-40", 2, 1, 4}));

TEST(EngineKeys, TextsThatDoNotReadStayUntilTheirKeyGetsANewValue) {
    TIniDocument doc("[ZunMain]\nZun.Mode=7\nZun.FixLen=99\nZun.LastX=1e999\n"
                     "Zun.Stack[0]=1,5,0\nZun.Stack[1]=\nZun.Reg[3]=abc\nZun.Reg[4]=2\n");
    TZunCalc calc(1);
    TKeptTexts kept;
    ReadSettings(doc, {calc}, ".", kept);
    EXPECT_EQ(calc.LastX, 0.0);
    calc.Stack[0] = -0.0; // a new value, although it compares equal to 0
    calc.Reg[4] = 0;      // readable texts are always written
    calc.FixLen = 3;
    WriteSettings(doc, {calc}, ".", kept);
    EXPECT_EQ(doc.Text(), "[ZunMain]\nZun.Mode=7\nZun.FixLen=3\nZun.LastX=1e999\n"
                          "Zun.Stack[0]=-0\nZun.Stack[1]=0\nZun.Reg[3]=abc\nZun.Reg[4]=0\n"
                          "Zun.TrigMode=0\nZun.Stack[2]=0\nZun.Stack[3]=0\nZun.Reg[0]=0\n"
                          "Zun.Reg[1]=0\nZun.Reg[2]=0\nZun.Reg[5]=0\nZun.Reg[6]=0\n"
                          "Zun.Reg[7]=0\nZun.Reg[8]=0\nZun.Reg[9]=0\n");
    calc.Reg[3] = 1; // once written, a key is no longer kept even when its value returns
    WriteSettings(doc, {calc}, ".", kept);
    calc.Reg[3] = 0;
    calc.Mode = zunSci;
    WriteSettings(doc, {calc}, ".", kept);
    EXPECT_NE(doc.Text().find("\nZun.Reg[3]=0\n"), std::string::npos) << doc.Text();
    EXPECT_NE(doc.Text().find("\nZun.Mode=1\n"), std::string::npos) << doc.Text();
    EXPECT_NE(doc.Text().find("\nZun.LastX=1e999\n"), std::string::npos) << doc.Text();
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
