// Language files: reading rules, encodings, byte-exact writing, bad input.

#include "lang/langfile.h"
#include "lang/langtext.h"
#include "langtest.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace pellix::test {
namespace {

struct TLookupCase {
    const char* Name;
    const char* Text;
    const char* Section;
    const char* Key;
    std::optional<const char*> Expected;
    friend void PrintTo(const TLookupCase& c, std::ostream* os) { *os << c.Name; }
};

class LangFileLookup : public ::testing::TestWithParam<TLookupCase> {};

TEST_P(LangFileLookup, FindsWhatTheReadingRulesGive) {
    const TLookupCase& c = GetParam();
    const TLangFile file(QByteArray(c.Text));
    const std::optional<QString> v =
        file.Value(QString::fromUtf8(c.Section), QString::fromUtf8(c.Key));
    if (c.Expected) {
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, QString::fromUtf8(*c.Expected));
    } else {
        EXPECT_FALSE(v.has_value()) << v->toStdString();
    }
}

const TLookupCase LookupCases[] = {
    {"TrimsLinesNamesAndValues", "  [ Sec ]  \n \t Key  =  a value \t\n", "Sec", "Key", "a value"},
    {"IgnoresCase", "[sEc]\nkEy=v\n", "SEC", "KEY", "v"},
    {"FoldsUnicodeLetters", "[Été]\nÄpfel=v\n", "ÉTÉ", "äPFEL", "v"},
    {"SkipsSemicolonComments", "[S]\n;K=x\n  ; K=y\n", "S", "K", std::nullopt},
    {"HashIsNoComment", "[S]\n#K=x\n", "S", "#K", "x"},
    {"IgnoresLinesBeforeTheFirstSection", "K=x\n[S]\n", "S", "K", std::nullopt},
    {"SectionNameRunsToTheLastBracket", "[a]b]\nK=x\n", "a]b", "K", "x"},
    {"UnclosedBracketIsNoSection", "[S]\n[T\nK=x\n", "S", "K", "x"},
    {"LineWithoutEqualsHoldsNothing", "[S]\nK\nK=x\n", "S", "K", "x"},
    {"FirstEqualsSplits", "[S]\nK = a=b \n", "S", "K", "a=b"},
    {"FirstOccurrenceWins", "[S]\nK=1\nk=2\n", "S", "K", "1"},
    {"SectionsOfOneNameCountAsOne", "[S]\nA=1\n[T]\n[s]\nB=2\n", "S", "B", "2"},
    {"EmptyValue", "[S]\nK=\n", "S", "K", ""},
    {"EmptyKeyMatchesNothing", "[S]\n=x\n", "S", "", std::nullopt},
    {"LoneCarriageReturnsEndLines", "[S]\rA=1\rB=2", "S", "B", "2"},
    {"QuotesAreKeptRaw", "[S]\nK=  \" x \"  \n", "S", "K", "\" x \""},
};

INSTANTIATE_TEST_SUITE_P(Rules, LangFileLookup, ::testing::ValuesIn(LookupCases),
                         [](const auto& p) { return std::string(p.param.Name); });

// One rule applied to one text.
struct TTextCase {
    QString (*Rule)(const QString&);
    const char* In;
    const char* Out;
    friend void PrintTo(const TTextCase& c, std::ostream* os) { *os << c.In; }
};

class TextRule : public ::testing::TestWithParam<TTextCase> {};
TEST_P(TextRule, GivesTheStoredOrReadText) {
    EXPECT_EQ(GetParam().Rule(QString::fromUtf8(GetParam().In)), QString::fromUtf8(GetParam().Out));
}
QString WidgetBreaks(const QString& s) {
    return DecodeLineBreaks(s, QStringLiteral("\n"));
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(OuterQuote, TextRule, ::testing::Values(
    TTextCase{OuterQuote, "\"a\"", "a"}, TTextCase{OuterQuote, "\"\"", "\"\""},
    TTextCase{OuterQuote, "\" a \"", " a "}, TTextCase{OuterQuote, "\"a", "\"a"},
    TTextCase{OuterQuote, "\"", "\""}, TTextCase{OuterQuote, "", ""},
    TTextCase{OuterQuote, "a\"b\"", "a\"b\""}, TTextCase{OuterQuote, "\"a\"b\"", "a\"b"},
    TTextCase{OuterQuote, "\"ab\"cd", "ab"}, TTextCase{OuterQuote, "\"\"\"", "\""}));
INSTANTIATE_TEST_SUITE_P(QuotedString, TextRule, ::testing::Values(
    TTextCase{ExtractQuotedStr, "\"a\"\"b\"", "a\"b"}, TTextCase{ExtractQuotedStr, "\"a\"tail", "a"},
    TTextCase{ExtractQuotedStr, "\"open", "open"}, TTextCase{ExtractQuotedStr, "plain \"x\"", "plain \"x\""},
    TTextCase{ExtractQuotedStr, "\"\"", ""}, TTextCase{ExtractQuotedStr, "\"\"\"\"", "\""},
    TTextCase{QuotedStr, "say \"hi\"", "\"say \"\"hi\"\"\""}, TTextCase{QuotedStr, "", "\"\""}));
INSTANTIATE_TEST_SUITE_P(LineBreaks, TextRule, ::testing::Values(
    TTextCase{EncodeLineBreaks, "a\r\nb", "a/r/nb"}, TTextCase{EncodeLineBreaks, "a\nb", "a/r/nb"},
    TTextCase{EncodeLineBreaks, "a\rb", "a/r/nb"}, TTextCase{EncodeLineBreaks, "\n\r", "/r/n/r/n"},
    TTextCase{EncodeLineBreaks, "a/r/nb", "a/r/nb"}, TTextCase{WidgetBreaks, "a/r/nb/r/n", "a\nb\n"},
    TTextCase{OneLine, "a\r\nb\nc\rd", "a b c d"}));
// clang-format on

// --- Encodings -----------------------------------------------------------

QByteArray EncodeAs(TTextEncoding e, const QString& text) {
    if (e == TTextEncoding::Utf8) {
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    }
    QByteArray out = e == TTextEncoding::Utf16LE ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        out += e == TTextEncoding::Utf16LE ? lo : hi;
        out += e == TTextEncoding::Utf16LE ? hi : lo;
    }
    return out;
}

class LangFileEncoding : public ::testing::TestWithParam<TTextEncoding> {};

TEST_P(LangFileEncoding, WritesBackByteForByteApartFromTheChangedValues) {
    const QString before = QStringLiteral("; Übersetzung \U0001D11E\r\n"
                                          "[Form]\r\n"
                                          "  lbA.Caption  =  \"Grüße\"   \n"
                                          "lbB.Caption=\"€ 5\"\r\n"
                                          "\r\n"
                                          "; end of Form\r\n"
                                          "[Other]\r\n"
                                          "X=1");
    const QString after = QStringLiteral("; Übersetzung \U0001D11E\r\n"
                                         "[Form]\r\n"
                                         "  lbA.Caption  =  \"Straße\"\n"
                                         "lbB.Caption=\"€ 5\"\r\n"
                                         "lbC.Caption=\"\U0001D11E\"\r\n"
                                         "\r\n"
                                         "; end of Form\r\n"
                                         "[Other]\r\n"
                                         "X=1\r\n"
                                         "\r\n"
                                         "[Neu]\r\n"
                                         "K=ä\r\n");
    TLangFile file(EncodeAs(GetParam(), before));
    EXPECT_EQ(file.Encoding(), GetParam());
    EXPECT_EQ(file.Bytes(), EncodeAs(GetParam(), before));
    EXPECT_EQ(file.ReadString("FORM", "lba.caption", {}), QStringLiteral("\"Grüße\""));
    ASSERT_TRUE(file.WriteString("Form", "lbA.Caption", QStringLiteral("\"Straße\"")));
    ASSERT_TRUE(file.WriteString("Form", "lbC.Caption", QStringLiteral("\"\U0001D11E\"")));
    ASSERT_TRUE(file.WriteString("Neu", "K", QStringLiteral("ä")));
    EXPECT_EQ(file.Bytes(), EncodeAs(GetParam(), after));

    // And through the disk.
    QTemporaryDir dir;
    const QString path = dir.filePath("x.lan");
    WriteBytes(path, EncodeAs(GetParam(), before));
    TLangFile disk = TLangFile::Open(path);
    disk.WriteString("Form", "lbA.Caption", QStringLiteral("\"Straße\""));
    disk.WriteString("Form", "lbC.Caption", QStringLiteral("\"\U0001D11E\""));
    disk.WriteString("Neu", "K", QStringLiteral("ä"));
    disk.UpdateFile();
    EXPECT_EQ(ReadBytes(path), EncodeAs(GetParam(), after));
}

INSTANTIATE_TEST_SUITE_P(ByteOrderMarks, LangFileEncoding,
                         ::testing::Values(TTextEncoding::Utf8, TTextEncoding::Utf16LE,
                                           TTextEncoding::Utf16BE));

TEST(LangFileEncoding, FileWithoutMarkUsesTheCodePageAndKeepsUndecodableBytes) {
    const QByteArray junkLine("\x80\xFF\xC3(\x00\x01=\xFE\n", 10);
    const QByteArray before = QByteArray("[S]\n") + junkLine + "K=old\n";
    TLangFile file(before);
    EXPECT_EQ(file.Encoding(), TTextEncoding::Bytes);
    ASSERT_TRUE(file.WriteString("S", "K", QStringLiteral("new")));
    EXPECT_EQ(file.Bytes(), QByteArray("[S]\n") + junkLine + "K=new\n");
    EXPECT_EQ(QString::fromLocal8Bit(TLangFile().Bytes()), QString());
}

// --- Editing -------------------------------------------------------------

TEST(LangFileEdit, NewKeysGoAfterTheLastKeyOfTheirSectionAndEndLikeTheFile) {
    TLangFile file(QByteArray("[A]\nx=1\n\n; about B\n[B]\ny=2"));
    file.WriteString("a", "z", QStringLiteral("3"));
    file.WriteString("B", "w", QStringLiteral("4"));
    file.WriteString("C", "v", QStringLiteral("5"));
    EXPECT_EQ(file.Bytes(), QByteArray("[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\nw=4\n\n[C]\nv=5\n"));
    EXPECT_EQ(file.Sections(), QStringList({"A", "B", "C"}));
    EXPECT_EQ(file.SectionKeys("b"), QStringList({"y", "w"}));
}

TEST(LangFileEdit, NewFileUsesCrLf) {
    TLangFile file;
    file.WriteString("S", "K", QStringLiteral("\"v\""));
    EXPECT_EQ(file.Bytes(), QByteArray("[S]\r\nK=\"v\"\r\n"));
}

TEST(LangFileEdit, DeleteKeyRemovesEveryOccurrence) {
    TLangFile file(QByteArray("[S]\nK=1\nk=2\nL=3\n[s]\nK=4\n"));
    file.DeleteKey("S", "K");
    EXPECT_EQ(file.Bytes(), QByteArray("[S]\nL=3\n[s]\n"));
    EXPECT_FALSE(file.Value("S", "K").has_value());
}

struct TRefusedCase {
    const char* Name;
    const char* Section;
    const char* Key;
    const char* Value;
    friend void PrintTo(const TRefusedCase& c, std::ostream* os) { *os << c.Name; }
};
class LangFileRefuses : public ::testing::TestWithParam<TRefusedCase> {};
TEST_P(LangFileRefuses, EntriesThatWouldNotReadBack) {
    TLangFile file(QByteArray("[S]\nK=1\n"));
    const QByteArray before = file.Bytes();
    EXPECT_FALSE(file.WriteString(QString::fromUtf8(GetParam().Section),
                                  QString::fromUtf8(GetParam().Key),
                                  QString::fromUtf8(GetParam().Value)));
    EXPECT_EQ(file.Bytes(), before);
}
INSTANTIATE_TEST_SUITE_P(Cases, LangFileRefuses,
                         ::testing::Values(TRefusedCase{"EmptyKey", "S", " ", "v"},
                                           TRefusedCase{"EqualsInKey", "S", "a=b", "v"},
                                           TRefusedCase{"KeyLikeASection", "S", "[x", "v"},
                                           TRefusedCase{"KeyLikeAComment", "S", ";x", "v"},
                                           TRefusedCase{"BreakInValue", "S", "K", "a\nb"},
                                           TRefusedCase{"BreakInKey", "S", "a\rb", "v"},
                                           TRefusedCase{"BreakInSection", "S\nT", "K", "v"}),
                         [](const auto& p) { return std::string(p.param.Name); });

// --- Bad input and files -------------------------------------------------

TEST(LangFileBadInput, BinaryJunkReadsAsFarAsItCan) {
    QByteArray junk(1 << 16, '\0');
    QRandomGenerator rng(42);
    for (char& c : junk) {
        c = char(rng.bounded(256));
    }
    for (const QByteArray& head : {QByteArray(), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF"),
                                   QByteArray("\xEF\xBB\xBF")}) {
        const TLangFile file(head + junk);
        EXPECT_EQ(file.Bytes(), head + junk);
    }
    const TLangFile file(junk + "\n[S]\nK=found\n");
    EXPECT_EQ(file.ReadString("S", "K", {}), QStringLiteral("found"));
}

TEST(LangFileBadInput, TenMegabytesAreReadAndWrittenBack) {
    QByteArray big;
    big.reserve(10 << 20);
    big += "[S]\n";
    while (big.size() < (10 << 20)) {
        big += "some.key.Caption=\"a line of text that is long enough\"\n";
    }
    big += "Last=\"end\"";
    QTemporaryDir dir;
    const QString path = dir.filePath("big.lan");
    WriteBytes(path, big);
    TLangFile file = TLangFile::Open(path);
    EXPECT_EQ(file.ReadString("S", "Last", {}), QStringLiteral("\"end\""));
    file.WriteString("S", "Last", QStringLiteral("\"fin\""));
    file.UpdateFile();
    EXPECT_EQ(ReadBytes(path), big.replace("Last=\"end\"", "Last=\"fin\""));

    const TLangFile oneLine(QByteArray(10 << 20, 'x'));
    EXPECT_TRUE(oneLine.Sections().isEmpty());
}

TEST(LangFileBadInput, UnreadableFileIsNeverOverwritten) {
    QTemporaryDir dir;
    const QString folderAsFile = dir.filePath("folder.lan");
    ASSERT_TRUE(QDir().mkdir(folderAsFile));
    TLangFile file = TLangFile::Open(folderAsFile);
    EXPECT_FALSE(file.Readable());
    file.WriteString("S", "K", QStringLiteral("v"));
    EXPECT_THROW(file.UpdateFile(), ELangFileError);
    EXPECT_TRUE(QFileInfo(folderAsFile).isDir());
}

} // namespace
} // namespace pellix::test
