#include "ini/inidocument.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

namespace pellix {
namespace {

using namespace std::string_literals;

// ---- Unmodified documents keep their bytes ----

class IniDocumentBytes : public ::testing::TestWithParam<std::string> {};

TEST_P(IniDocumentBytes, SerialisesUnmodifiedDocumentIdentically) {
    const TIniDocument doc(GetParam());
    EXPECT_EQ(doc.Text(), GetParam());
    // Lookups on odd input neither fail nor change anything.
    EXPECT_FALSE(doc.ReadString("ZunMain", "Zun.Missing"));
    (void)doc.ReadString("a", "b");
    EXPECT_EQ(doc.Text(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(OddInputs, IniDocumentBytes,
                         ::testing::Values(""s, "no newline"s, "\n"s, "\r\n"s, "\r"s, "\r\r\n"s,
                                           "[sec"s, "[]\n"s, "=\n"s, "==\n"s, "[a]\r\nk=v\r\n"s,
                                           "[a]\nk=v"s, "  ; comment\n\n\n"s, "\0\0[a\0]\0=\0\n"s,
                                           "\xFF\xFE[\xC3\x28]\n\x80=\xBF\n"s,
                                           "[A]\nk=1\n[A]\nk=2\n"s,
                                           "k=orphan before any section\n[s]\n"s,
                                           "[s]\nk\xE2\x80\x8B=zero-width\n"s));

// ---- Reading ----

TEST(IniDocumentRead, MatchesSectionAndKeyWithoutRegardToCase) {
    const TIniDocument doc("[ZunMain]\nZun.Mode=2\n");
    EXPECT_EQ(doc.ReadString("zunmain", "ZUN.MODE"), "2");
    EXPECT_EQ(doc.ReadString("ZUNMAIN", "zun.mode"), "2");
}

TEST(IniDocumentRead, FoldsOnlyAsciiLetters) {
    const TIniDocument doc("[s]\n\xC3\xA4=1\n"); // "ä"
    EXPECT_EQ(doc.ReadString("s", "\xC3\xA4"), "1");
    EXPECT_FALSE(doc.ReadString("s", "\xC3\x84")); // "Ä" is another key
}

TEST(IniDocumentRead, TrimsBlanksAroundNamesAndValues) {
    const TIniDocument doc("  [ Main ]  \n\t key \t=\t value with  inner  blanks \t\n");
    EXPECT_EQ(doc.ReadString("Main", "key"), "value with  inner  blanks");
}

TEST(IniDocumentRead, CrLfValuesCarryNoCarriageReturn) {
    const TIniDocument doc("[s]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(doc.ReadString("s", "a"), "1");
    EXPECT_EQ(doc.ReadString("s", "b"), "2");
    EXPECT_EQ(doc.LineEnd(), TLineEnd::CRLF);
}

TEST(IniDocumentRead, ValueMayHoldEqualsSigns) {
    const TIniDocument doc("[s]\nk=a=b\n");
    EXPECT_EQ(doc.ReadString("s", "k"), "a=b");
}

TEST(IniDocumentRead, PresentEmptyValueIsEmptyNotMissing) {
    const TIniDocument doc("[s]\nk=\n");
    EXPECT_EQ(doc.ReadString("s", "k"), "");
}

TEST(IniDocumentRead, FirstOccurrenceWins) {
    const TIniDocument doc("[s]\nk=1\nK=2\n[S]\nk=3\nonly=4\n");
    EXPECT_EQ(doc.ReadString("s", "k"), "1");
    // A key only present in a repeated section is still found.
    EXPECT_EQ(doc.ReadString("s", "only"), "4");
}

struct LineCase {
    const char* Name;
    std::string Text;
    std::optional<std::string> Expected; // value of s/k
    friend std::ostream& operator<<(std::ostream& os, const LineCase& c) { return os << c.Name; }
};

class IniDocumentLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(IniDocumentLines, ClassifiesLines) {
    EXPECT_EQ(TIniDocument(GetParam().Text).ReadString("s", "k"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniDocumentLines,
    ::testing::Values(LineCase{"Plain", "[s]\nk=1\n", "1"},
                      LineCase{"KeyInOtherSection", "[t]\nk=1\n", std::nullopt},
                      LineCase{"KeyBeforeAnySection", "k=1\n[s]\n", std::nullopt},
                      LineCase{"SemicolonComment", "[s]\n;k=1\n", std::nullopt},
                      LineCase{"HashComment", "[s]\n  #k=1\n", std::nullopt},
                      LineCase{"LineWithoutEquals", "[s]\nk\n", std::nullopt},
                      LineCase{"EmptyKeyName", "[s]\n=1\nk=2\n", "2"},
                      // "[t" has no "]", so it is junk and k still belongs to s
                      LineCase{"UnclosedBracketIsJunk", "[s]\n[t\nk=1\n", "1"},
                      LineCase{"TextAfterHeader", "[s] ; note\nk=1\n", "1"},
                      LineCase{"NameUpToFirstBracket", "[s]x]\nk=1\n", "1"},
                      LineCase{"NoNewlineAtEnd", "[s]\nk=1", "1"},
                      LineCase{"LoneCarriageReturns", "[s]\rk=1\n", "1"},
                      LineCase{"MixedLineEnds", "[t]\r\nk=0\r[s]\n\rk=1\r", "1"},
                      LineCase{"Utf8ByteOrderMark", "\xEF\xBB\xBF[s]\nk=1\n", "1"},
                      LineCase{"ByteOrderMarkOnlyAtTheStart", "[t]\n\xEF\xBB\xBF[s]\nk=1\n",
                               std::nullopt},
                      LineCase{"NulInsideValue",
                               "[s]\nk=1\0"s
                               "2\n",
                               "1\0"s
                               "2"},
                      LineCase{"NulInsideName", "[s]\nk\0=1\n"s, std::nullopt},
                      LineCase{"InvalidUtf8Value", "[s]\nk=\xFF\xC3\n", "\xFF\xC3"}),
    [](const auto& param) { return std::string(param.param.Name); });

// ---- Encodings and line ends ----

// text (ASCII or UTF-8 without surrogates) in UTF-16 with byte-order mark.
std::string Utf16(std::string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<unsigned char>(text[i]);
        if (cp >= 0xC0) { // two-byte characters are enough here
            cp = ((cp & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
        }
        const char hi = static_cast<char>(cp >> 8);
        const char lo = static_cast<char>(cp & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

struct EncodingCase {
    const char* Name;
    std::string Before;
    std::string After; // after k=22 and a new key n=3
};
void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.Name;
}

class IniDocumentEncodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(IniDocumentEncodings, ReadAndWrittenBackInTheFilesOwnEncodingAndLineEnds) {
    TIniDocument doc(GetParam().Before);
    EXPECT_EQ(doc.ReadString("s", "k"), "1");
    EXPECT_EQ(doc.ReadString("s", "u"), "\xC3\xA4");
    EXPECT_EQ(doc.Text(), GetParam().Before);
    ASSERT_TRUE(doc.WriteString("s", "k", "22"));
    ASSERT_TRUE(doc.WriteString("s", "n", "3"));
    EXPECT_EQ(doc.Text(), GetParam().After);
    EXPECT_EQ(TIniDocument(doc.Text()).ReadString("s", "n"), "3");
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniDocumentEncodings,
    ::testing::Values(EncodingCase{"Utf8Bom", "\xEF\xBB\xBF[s]\r\nk=1\r\nu=\xC3\xA4\r\n",
                                   "\xEF\xBB\xBF[s]\r\nk=22\r\nu=\xC3\xA4\r\nn=3\r\n"},
                      EncodingCase{"LoneCr", "[s]\rk=1\ru=\xC3\xA4\r\r[t]\r",
                                   "[s]\rk=22\ru=\xC3\xA4\rn=3\r\r[t]\r"},
                      EncodingCase{"LoneCrUnterminated", "[s]\rk=1\ru=\xC3\xA4",
                                   "[s]\rk=22\ru=\xC3\xA4\rn=3"},
                      EncodingCase{"Utf16LE", Utf16("[s]\r\nk=1\r\nu=\xC3\xA4\r\n", false),
                                   Utf16("[s]\r\nk=22\r\nu=\xC3\xA4\r\nn=3\r\n", false)},
                      EncodingCase{"Utf16BE", Utf16("[s]\nk=1\nu=\xC3\xA4", true),
                                   Utf16("[s]\nk=22\nu=\xC3\xA4\nn=3", true)}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(IniDocumentEncodings, NewSectionInAUtf16FileIsWrittenInUtf16) {
    TIniDocument doc(Utf16("; x\r\n", false));
    doc.WriteString("ZunMain", "Left", "5");
    EXPECT_EQ(doc.Text(), Utf16("; x\r\n\r\n[ZunMain]\r\nLeft=5\r\n", false));
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Utf16LE);
}

TEST(IniDocumentRead, OnlyTheFirst2047CharactersOfAValueCount) {
    const std::string ascii(3000, 'x');
    EXPECT_EQ(TIniDocument("[s]\nk=" + ascii + "\n").ReadString("s", "k"), ascii.substr(0, 2047));

    std::string umlauts;
    for (int i = 0; i < 3000; ++i)
        umlauts += "\xC3\xA4";
    const auto read = TIniDocument("[s]\nk=" + umlauts + "\n").ReadString("s", "k");
    EXPECT_EQ(read, umlauts.substr(0, 2 * 2047)); // never cut inside a character

    // Stray continuation bytes count one character each.
    const std::string stray(5000, '\x80');
    EXPECT_EQ(TIniDocument("[s]\nk=" + stray).ReadString("s", "k")->size(), 2047U);

    const std::string exact(2047, 'y');
    EXPECT_EQ(TIniDocument("[s]\nk=" + exact).ReadString("s", "k"), exact);
}

// ---- Writing ----

struct WriteCase {
    const char* Name;
    std::string Before;
    const char* Section;
    const char* Key;
    const char* Value;
    std::string After;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const WriteCase& c) {
        return os << ::testing::PrintToString(c.Name);
    }
};

class IniDocumentWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniDocumentWrite, EditsOnlyWhatIsWritten) {
    const WriteCase& c = GetParam();
    TIniDocument doc(c.Before);
    ASSERT_TRUE(doc.WriteString(c.Section, c.Key, c.Value));
    EXPECT_EQ(doc.Text(), c.After);
    EXPECT_EQ(doc.ReadString(c.Section, c.Key), c.Value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniDocumentWrite,
    ::testing::Values(
        WriteCase{"ReplacesInPlaceKeepingKeySpelling", "[S]\nKEY = old  \nz=9\n", "s", "key", "new",
                  "[S]\nKEY = new\nz=9\n"},
        WriteCase{"ReplacesValueOfCrLfLine", "[s]\r\nk=1\r\nz=2\r\n", "s", "k", "10",
                  "[s]\r\nk=10\r\nz=2\r\n"},
        WriteCase{"ReplacesEmptyValue", "[s]\nk=\n", "s", "k", "1", "[s]\nk=1\n"},
        WriteCase{"ReplacesLastLineWithoutNewline", "[s]\nk=1", "s", "k", "22", "[s]\nk=22"},
        WriteCase{"AppendsAfterLastKeyOfSection", "[S]\na=1\n\n; belongs to T\n[T]\nb=2\n", "S",
                  "c", "3", "[S]\na=1\nc=3\n\n; belongs to T\n[T]\nb=2\n"},
        WriteCase{"AppendsAfterKeysSeparatedByComments", "[S]\na=1\n; note\nb=2\n\n", "S", "c", "3",
                  "[S]\na=1\n; note\nb=2\nc=3\n\n"},
        WriteCase{"AppendsRightAfterHeaderOfEmptySection", "[S]\n\n[T]\n", "S", "c", "3",
                  "[S]\nc=3\n\n[T]\n"},
        WriteCase{"AppendsToSectionEndingTheFileWithoutNewline", "[S]\na=1", "S", "c", "3",
                  "[S]\na=1\nc=3"},
        WriteCase{"AppendsToHeaderEndingTheFile", "[S]", "S", "c", "3", "[S]\nc=3"},
        WriteCase{"AppendsToFirstOfRepeatedSections", "[S]\na=1\n[T]\n[S]\nb=2\n", "S", "c", "3",
                  "[S]\na=1\nc=3\n[T]\n[S]\nb=2\n"},
        WriteCase{"ReplacesKeyFoundInRepeatedSection", "[S]\na=1\n[S]\nb=2\n", "S", "b", "3",
                  "[S]\na=1\n[S]\nb=3\n"},
        WriteCase{"AppendsWithCrLfInCrLfFile", "[S]\r\na=1\r\n", "S", "b", "2",
                  "[S]\r\na=1\r\nb=2\r\n"},
        WriteCase{"NewSectionInEmptyFile", "", "S", "k", "v", "[S]\nk=v\n"},
        WriteCase{"NewSectionAfterBlankLine", "x=1\n\n", "S", "k", "v", "x=1\n\n[S]\nk=v\n"},
        WriteCase{"NewSectionGetsBlankLineBefore", "x=1\n", "S", "k", "v", "x=1\n\n[S]\nk=v\n"},
        WriteCase{"NewSectionAfterLastLineWithoutNewline", "x=1", "S", "k", "v",
                  "x=1\n\n[S]\nk=v\n"},
        WriteCase{"NewSectionInCrLfFile", "[T]\r\na=1\r\n", "S", "k", "v",
                  "[T]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
        WriteCase{"FirstLineDecidesLineEnd", "[T]\na=1\r\n", "S", "k", "v",
                  "[T]\na=1\r\n\n[S]\nk=v\n"},
        WriteCase{"KeyAfterUnclosedBracketIsReplaced", "[S]\n[T\nk=1\n", "S", "k", "2",
                  "[S]\n[T\nk=2\n"},
        WriteCase{"JunkLineIsNotTakenForTheKey", "[S]\nk\n", "S", "k", "1", "[S]\nk=1\nk\n"},
        WriteCase{"KeepsForeignBytes", "\xFF\0junk\n[S]\nk=1\n"s, "S", "k", "2",
                  "\xFF\0junk\n[S]\nk=2\n"s},
        WriteCase{"EmptyValue", "[S]\nk=1\n", "S", "k", "", "[S]\nk=\n"}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(IniDocumentWrite, RepeatedWritesDoNotDuplicateKeys) {
    TIniDocument doc;
    for (int i = 0; i < 3; ++i) {
        doc.WriteString("S", "a", std::to_string(i));
        doc.WriteString("s", "B", std::to_string(i));
    }
    EXPECT_EQ(doc.Text(), "[S]\na=2\nB=2\n");
}

struct RejectCase {
    const char* Section;
    const char* Key;
    std::string Value;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const RejectCase& c) {
        return os << ::testing::PrintToString(c.Section);
    }
};

class IniDocumentReject : public ::testing::TestWithParam<RejectCase> {};

TEST_P(IniDocumentReject, RefusesWhatWouldNotReadBack) {
    const std::string before = "[S]\nk=1\n";
    TIniDocument doc(before);
    EXPECT_FALSE(doc.WriteString(GetParam().Section, GetParam().Key, GetParam().Value));
    EXPECT_EQ(doc.Text(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, IniDocumentReject,
                         ::testing::Values(RejectCase{"S", "", "1"}, RejectCase{"S", "  ", "1"},
                                           RejectCase{"", "k", "1"}, RejectCase{"S", "k", "1\n2"},
                                           RejectCase{"S", "k", "1\r"},
                                           RejectCase{"S", "a\nb", "1"},
                                           RejectCase{"S\n", "k", "1"}, RejectCase{"S]", "k", "1"},
                                           RejectCase{"S", "a=b", "1"}, RejectCase{"S", "[k", "1"},
                                           RejectCase{"S", ";k", "1"}, RejectCase{"S", "#k", "1"}));

// ---- Notations through the document ----

TEST(IniDocumentNotation, FloatWrittenWithTheDecimalSeparatorGiven) {
    TIniDocument doc;
    doc.WriteFloat("s", "frac", 1.5, ",");
    doc.WriteFloat("s", "whole", -3, ",");
    doc.WriteFloat("s", "nan", std::numeric_limits<double>::quiet_NaN(), ",");
    EXPECT_EQ(doc.Text(), "[s]\nfrac=1,5\nwhole=-3\nnan=NAN\n");
}

// ---- Large and hostile input ----

TEST(IniDocumentRobust, TenMegabytesOfRandomBytes) {
    std::mt19937 rng(1);
    std::string junk(10 * 1024 * 1024, '\0');
    for (char& c : junk)
        c = static_cast<char>(rng());
    TIniDocument doc(junk);
    EXPECT_EQ(doc.Text(), junk);
    EXPECT_FALSE(doc.ReadString("ZunMain", "Zun.Mode"));
    for (int i = 0; i < 24; ++i)
        ASSERT_TRUE(doc.WriteString("ZunMain", "Key" + std::to_string(i), std::to_string(i)));
    EXPECT_EQ(doc.Text().substr(0, junk.size()), junk);
    EXPECT_EQ(doc.ReadString("zunmain", "key23"), "23");
}

TEST(IniDocumentRobust, TenMegabytesOfShortLines) {
    // Millions of tiny lines of every kind, with the section at the very end.
    std::string text;
    const char* pieces[] = {"a=b\n", "[x]\n", "\n", ";c\n", "[\n", "=\n", "q\r\n"};
    for (std::size_t i = 0; text.size() < 10 * 1024 * 1024; ++i)
        text += pieces[i % 7];
    text += "[ZunMain]\nZun.FixLen=4";
    TIniDocument doc(text);
    EXPECT_EQ(doc.ReadString("ZunMain", "Zun.FixLen"), "4");
    for (int i = 0; i < 24; ++i)
        doc.WriteInteger("ZunMain", "Zun.Reg[" + std::to_string(i) + "]", i);
    EXPECT_EQ(doc.ReadString("ZunMain", "Zun.Reg[23]"), "23");
    EXPECT_EQ(doc.Text().substr(0, text.size()), text);
}

TEST(IniDocumentRobust, OneHugeLine) {
    const std::string line(10 * 1024 * 1024, '[');
    TIniDocument doc(line);
    ASSERT_TRUE(doc.WriteString("S", "k", "v"));
    EXPECT_EQ(doc.Text(), line + "\n\n[S]\nk=v\n");
}

} // namespace
} // namespace pellix
