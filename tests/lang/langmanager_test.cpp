// The language manager: the folder scan, language switch, texts and lists,
// and the build of original language files.

#include "lang/langcomponent.h"
#include "lang/tolvbase.h"
#include "langtest.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pellix::test {
namespace {

class LangManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Manager.SetDialogs(Dialogs);
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        WriteBytes(Path(name), bytes);
    }
    // A folder with German (and its common file) and French.
    void MakeFolder() {
        Write("German.lan",
              LanFile("Deutsch", "[Texts]\nHello=\"Hallo\"\n", "\"GermanCommon.txt\""));
        Write("GermanCommon.txt",
              "[Common]\nLanguage=\"Deutsch\"\n[Texts]\nShared=\"Gemeinsam\"\n");
        Write("French.lan",
              LanFile("Français", "[Texts]\nHello=\"Bonjour\"\n", "\"FrenchCommon.txt\""));
        Write("FrenchCommon.txt", "[Texts]\nShared=\"Commun\"\n");
    }
    QString Text(const QString& section, const QString& key, const QString& builtIn,
                 bool common = false) {
        QString v = builtIn;
        Manager.MakeText(section, key, v, common);
        return v;
    }

    QTemporaryDir Dir;
    std::shared_ptr<TFakeDialogs> Dialogs = std::make_shared<TFakeDialogs>();
    TLangManager Manager;
};

// --- The data module -----------------------------------------------------

TEST(TolvBase, ConfiguresAnInertManager) {
    const std::unique_ptr<TTolvBase> base = CreateTolvBase();
    TLangManager* m = base->LanMan;
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->parent(), base.get());
    EXPECT_EQ(base->objectName(), QStringLiteral("TolvBase"));
    EXPECT_EQ(m->objectName(), QStringLiteral("LanMan"));
    EXPECT_EQ(m->Language(), QStringLiteral("English"));
    EXPECT_EQ(m->Created(), QStringLiteral("\"13.02.2007 by Tolvane\""));
    EXPECT_FALSE(m->BuildLanguage());
    EXPECT_EQ(m->LangExtension(), QStringLiteral(".lan"));
    EXPECT_EQ(m->Options(), TLMSetOptions({lmNumUnits}));
    EXPECT_TRUE(m->LanguageFolder().isEmpty());
    EXPECT_TRUE(m->AppFileName().isEmpty());
    EXPECT_EQ(m->Count(), 0);
    EXPECT_EQ(m->AppFile(), nullptr);
    EXPECT_EQ(m->CommonFile(), nullptr);
    QString caption = QStringLiteral("\"quoted\" a/r/nb");
    ITranslator& texts = *m; // as the windows see it
    texts.MakeText(QStringLiteral("FrmAbout"), QStringLiteral("SCaptionAbout"), caption, true);
    EXPECT_EQ(caption, QStringLiteral("\"quoted\" a/r/nb"));
}

TEST_F(LangManagerTest, InitialValues) {
    EXPECT_EQ(Manager.Language(), QStringLiteral("English"));
    EXPECT_EQ(Manager.Created(),
              QLatin1Char('"') + TLangManager::ShortDate() + QLatin1String(" by Pellix\""));
    EXPECT_EQ(Manager.CommonLanguageFile(), QStringLiteral("Common.ori"));
    EXPECT_EQ(Manager.OptionBits(), 1U);
    Manager.SetOptionBits(0xFF);
    EXPECT_EQ(Manager.Options(), TLMSetOptions({lmNumUnits, lmClassNames}));
    EXPECT_TRUE(Manager.setProperty("Language", QStringLiteral("Klingon")));
    EXPECT_EQ(Manager.property("Language").toString(), QStringLiteral("English"));
    // Inert: no file is open, so every text and list stays as built in.
    QStringList list{"a", "b"};
    Manager.MakeStringList("S", "L", list);
    EXPECT_EQ(list, QStringList({"a", "b"}));
    EXPECT_EQ(Text("S", "K", "\"x\""), QStringLiteral("\"x\""));
    EXPECT_TRUE(Dialogs->Errors.isEmpty());
    EXPECT_TRUE(Dialogs->SaveRequests.empty());
}

// --- Folder scan ---------------------------------------------------------

TEST_F(LangManagerTest, ScanListsLanguagesWithTheHeaderSection) {
    MakeFolder();
    Write("NoHeader.lan", "[Texts]\nHello=\"x\"\n");
    Write("EmptyHeader.lan",
          (QLatin1Char('[') + Title() + QLatin1String("]\n; no keys\n")).toUtf8());
    Write("Upper.LAN", LanFile("Shouty", {}));
    Write("Other.txt", LanFile("Wrong", {}));
    QDir().mkdir(Path("Folder.lan"));
    Manager.SetLanguageFolder(Dir.path());
    EXPECT_EQ(Manager.LanguageFolder(), Dir.path() + QLatin1Char('/'));
    EXPECT_EQ(Manager.Count(), 3);
    EXPECT_EQ(Manager.LangList(), QStringList({"Français", "Deutsch", "Shouty"}));
    EXPECT_EQ(Manager.FileList(), QStringList({"French.lan", "German.lan", "Upper.LAN"}));
}

TEST_F(LangManagerTest, FolderWithoutLanguagesIsNotTaken) {
    MakeFolder();
    Manager.SetLanguageFolder(Dir.path() + QLatin1Char('/'));
    ASSERT_EQ(Manager.Count(), 2);
    QTemporaryDir none;
    WriteBytes(none.filePath("A.lan"), "[Texts]\nHello=1\n");
    WriteBytes(none.filePath("B.lan"), QByteArray("\x00\xFF junk", 7));
    Manager.SetLanguageFolder(none.path());
    EXPECT_EQ(Manager.LanguageFolder(), Dir.path() + QLatin1Char('/'));
    EXPECT_EQ(Manager.Count(), 0);
    Manager.SetLanguage(QStringLiteral("Deutsch"));
    EXPECT_EQ(Manager.AppFile(), nullptr);
}

TEST_F(LangManagerTest, MissingFolderChangesNothing) {
    MakeFolder();
    Manager.SetLanguageFolder(Dir.path());
    for (const QString& bad : {QString(), Path("missing"), Path("German.lan")}) {
        Manager.SetLanguageFolder(bad);
        EXPECT_EQ(Manager.LanguageFolder(), Dir.path() + QLatin1Char('/'));
        EXPECT_EQ(Manager.Count(), 2);
    }
}

// --- Language switch -----------------------------------------------------

TEST_F(LangManagerTest, LanguageIsMatchedWithoutRegardToCase) {
    MakeFolder();
    Manager.SetLanguageFolder(Dir.path());
    int before = 0;
    Manager.SetOnBeforeLanguageChanged([&](QObject* sender) {
        EXPECT_EQ(sender, &Manager);
        ++before;
    });
    Manager.ShownForms << QStringLiteral("SomeForm");
    Manager.SetLanguage(QStringLiteral("DEUTSCH"));
    EXPECT_EQ(Manager.Language(), QStringLiteral("DEUTSCH"));
    EXPECT_EQ(Manager.AppFileName(), Dir.path() + QLatin1String("/German.lan"));
    EXPECT_EQ(Manager.Created(), QStringLiteral("01.02.2020"));
    EXPECT_EQ(Manager.Version(), QStringLiteral("1.2.3"));
    EXPECT_EQ(Manager.CommonLanguageFile(), QStringLiteral("\"GermanCommon.txt\""));
    EXPECT_EQ(before, 1);
    EXPECT_TRUE(Manager.ShownForms.isEmpty());
    EXPECT_EQ(Text("Texts", "hello", "Hello"), QStringLiteral("Hallo"));
    EXPECT_EQ(Text("Texts", "Shared", "Shared", true), QStringLiteral("Gemeinsam"));
    EXPECT_TRUE(Dialogs->Errors.isEmpty());

    Manager.SetLanguage(QStringLiteral("Klingon"));
    EXPECT_EQ(Manager.Language(), QStringLiteral("DEUTSCH"));
    EXPECT_EQ(before, 1);
    Manager.SetLanguage(QStringLiteral("français"));
    EXPECT_EQ(Text("Texts", "Hello", "Hello"), QStringLiteral("Bonjour"));
    EXPECT_EQ(Text("Texts", "Shared", "Shared", true), QStringLiteral("Commun"));
    EXPECT_EQ(before, 2);
}

TEST_F(LangManagerTest, SwitchToALanguageNamedAsInItsUnquotedHeaderStillRetranslates) {
    Write("Plain.lan", (QLatin1Char('[') + Title() +
                        QLatin1String("]\nLanguage=Plain\nCommonLanguageFile=C.txt\n"))
                           .toUtf8());
    Write("C.txt", "[Common]\n");
    Manager.SetLanguageFolder(Dir.path());
    int before = 0;
    Manager.SetOnBeforeLanguageChanged([&](QObject*) { ++before; });
    Manager.SetLanguage(QStringLiteral("Plain"));
    EXPECT_EQ(before, 1);
}

TEST_F(LangManagerTest, MissingCommonFileIsReportedOnce) {
    Write("German.lan", LanFile("Deutsch", "[Texts]\nHello=\"Hallo\"\n", "\"Gone.lan\""));
    Manager.SetLanguageFolder(Dir.path());
    Manager.SetLanguage(QStringLiteral("Deutsch"));
    ASSERT_EQ(Dialogs->Errors.size(), 1);
    EXPECT_EQ(Dialogs->Errors[0], QStringLiteral("Error reading common language file :\r\n") +
                                      Dir.path() + QLatin1String("/Gone.lan"));
    ASSERT_NE(Manager.CommonFile(), nullptr);
    EXPECT_EQ(Text("Texts", "Hello", "Hello", true), QStringLiteral("Hello"));
    EXPECT_EQ(Text("Texts", "Hello", "Hello"), QStringLiteral("Hallo"));
    EXPECT_EQ(Dialogs->Errors.size(), 1);
}

TEST_F(LangManagerTest, FileWithoutCommonKeyKeepsTheCommonFileName) {
    QDir().mkdir(Path("lang"));
    Write("lang/A.lan", LanFile("A", {}, "\"Shared.txt\""));
    Write("lang/B.lan", LanFile("B", {}, QString()));
    Write("lang/Shared.txt", "[T]\nK=\"shared\"\n");
    Manager.SetLanguageFolder(Path("lang"));
    Manager.SetLanguage(QStringLiteral("A"));
    Manager.SetLanguage(QStringLiteral("B"));
    EXPECT_TRUE(Dialogs->Errors.isEmpty()) << Dialogs->Errors.join(' ').toStdString();
    EXPECT_EQ(Text("T", "K", "built-in", true), QStringLiteral("shared"));
}

TEST_F(LangManagerTest, AppFileNameReadsTheHeaderRaw) {
    Write("x.lan", LanFile("Raw", {}));
    Manager.ShownForms << QStringLiteral("F");
    Manager.SetAppFileName(Path("x.lan"));
    EXPECT_EQ(Manager.Language(), QStringLiteral("Raw"));
    EXPECT_EQ(Manager.property("Language").toString(), QStringLiteral("Raw"));
    EXPECT_EQ(Manager.CommonLanguageFile(), QStringLiteral("\"Common.lan\""));
    EXPECT_TRUE(Manager.ShownForms.isEmpty());
    Manager.SetAppFileName(Path("missing.lan"));
    ASSERT_NE(Manager.AppFile(), nullptr);
    EXPECT_EQ(Manager.Language(), QStringLiteral("Raw"));
    EXPECT_EQ(Manager.Modified(), QStringLiteral("02.02.2020"));
}

// --- Texts ---------------------------------------------------------------

struct TTextCase {
    const char* Name;
    const char* Stored; // null: no key
    const char* Expected;
    friend void PrintTo(const TTextCase& c, std::ostream* os) { *os << c.Name; }
};

class MakeTextRead : public LangManagerTest, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(MakeTextRead, AppliesTheLineBreakAndOuterQuoteRules) {
    QByteArray body("[S]\n");
    if (GetParam().Stored != nullptr) {
        body += QByteArray("K=") + GetParam().Stored + "\n";
    }
    Write("x.lan", LanFile("X", QString::fromUtf8(body)));
    Manager.SetAppFileName(Path("x.lan"));
    EXPECT_EQ(Text("S", "K", "built-in"), QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, MakeTextRead,
    ::testing::Values(TTextCase{"Missing", nullptr, "built-in"},
                      TTextCase{"TwoQuotes", "\"\"", "\"\""},
                      TTextCase{"QuotedBlanksStay", "\"  padded  \"", "  padded  "},
                      TTextCase{"UnquotedBlanksGo", "  padded  ", "padded"},
                      TTextCase{"Empty", "", ""}, TTextCase{"LineBreak", "\"a/r/nb\"", "a\r\nb"},
                      TTextCase{"LineBreakUnquoted", "a/r/nb", "a\r\nb"},
                      TTextCase{"InnerQuotesStay", "\"say \"\"x\"\"\"", "say \"\"x\"\""}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST_F(LangManagerTest, MakeTextUtf8Overload) {
    Write("x.lan", LanFile("X", QStringLiteral("[S]\nK=\"Grüße\"\n")));
    Manager.SetAppFileName(Path("x.lan"));
    std::string v = "built-in";
    Manager.MakeText("S", "K", v);
    EXPECT_EQ(v, "Grüße");
}

struct TListCase {
    const char* Name;
    const char* Stored;
    QStringList Expected;
    friend void PrintTo(const TListCase& c, std::ostream* os) { *os << c.Name; }
};

class MakeStringListRead : public LangManagerTest,
                           public ::testing::WithParamInterface<TListCase> {};

TEST_P(MakeStringListRead, UsesTheQuotedStringRule) {
    Write("x.lan", LanFile("X", QStringLiteral("[S]\n") + QString::fromUtf8(GetParam().Stored)));
    Manager.SetAppFileName(Path("x.lan"));
    QStringList list{"old 1", "old 2", "old 3", "old 4"};
    Manager.MakeStringList("S", "Colours", list);
    EXPECT_EQ(list, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MakeStringListRead,
    ::testing::Values(
        TListCase{"FirstMissing", "Colours.List[1]=\"x\"\n", {"old 1", "old 2", "old 3", "old 4"}},
        TListCase{"FirstEmpty",
                  "Colours.List[0]=\nColours.List[1]=\"x\"\n",
                  {"old 1", "old 2", "old 3", "old 4"}},
        TListCase{"ThreeEntries",
                  "colours.list[0]=\"a\"\nColours.List[1]=b\nColours.List[2]=\"c \"\"d\"\"\"\n",
                  {"a", "b", "c \"d\""}},
        TListCase{"GapEndsTheList",
                  "Colours.List[0]=a\nColours.List[1]=b\nColours.List[3]=d\n",
                  {"a", "b"}},
        TListCase{"EmptyQuotedEntryEndsTheList",
                  "Colours.List[0]=a\nColours.List[1]=\"\"\n"
                  "Colours.List[2]=c\n",
                  {"a"}}),
    [](const auto& p) { return std::string(p.param.Name); });

// --- Build ---------------------------------------------------------------

class LangBuildTest : public LangManagerTest {
protected:
    void SetUp() override {
        LangManagerTest::SetUp();
        Dialogs->SaveAnswer = Path("Test.ori");
    }
    TWorkingDir Cwd{Dir.path()};
};

TEST_F(LangBuildTest, StartsOnceWithTheSaveDialog) {
    Write("Test.ori", "old contents\n");
    Manager.SetBuildLanguage(true);
    ASSERT_EQ(Dialogs->SaveRequests.size(), 1U);
    const TSaveDialogRequest& r = Dialogs->SaveRequests[0];
    EXPECT_EQ(r.Title, QStringLiteral("Build Language File"));
    EXPECT_EQ(r.Filter, QStringLiteral("Original Language Files (*.ori)|*.ORI"));
    EXPECT_EQ(r.DefaultExt, QStringLiteral(".ori"));
    EXPECT_EQ(r.FileName,
              QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".ori");
    EXPECT_EQ(r.InitialDir, QCoreApplication::applicationDirPath());
    EXPECT_TRUE(r.OverwritePrompt);
    ASSERT_EQ(Dialogs->Questions.size(), 1);
    EXPECT_EQ(
        Dialogs->Questions[0],
        QStringLiteral("Do you want to delete the common language file : \r\n\r\nCommon.ori"));
    EXPECT_EQ(Manager.OriginalFile(), Path("Test.ori"));
    QString text = QStringLiteral("t");
    Manager.MakeText("S", "K", text);
    Manager.MakeForm(nullptr, true, false);
    EXPECT_EQ(Dialogs->SaveRequests.size(), 1U);
    // The old file is gone; the new one holds the header and the text.
    const TLangFile ori = TLangFile::Open(Path("Test.ori"));
    EXPECT_EQ(ori.Sections(), QStringList({Title(), "S"}));
    EXPECT_EQ(ori.ReadString(Title(), "Language", {}), QStringLiteral("\"ORIGINAL\""));
    EXPECT_EQ(ori.ReadString(Title(), "Created", {}), TLangManager::ShortDate());
    EXPECT_EQ(ori.ReadString(Title(), "Modified", {}), TLangManager::ShortDate());
    EXPECT_EQ(ori.ReadString(Title(), "Version", {}), QStringLiteral("0.0.0"));
    EXPECT_EQ(ori.ReadString(Title(), "CommonLanguageFile", {}), QStringLiteral("\"Common.ori\""));
}

TEST_F(LangBuildTest, DialogOpensInTheLanguageFolderWhenItExists) {
    Write("German.lan", LanFile("Deutsch", {}));
    Manager.SetLanguageFolder(Dir.path());
    Manager.SetOriginalFile(QStringLiteral("Proposed.ori"));
    QString text;
    Manager.SetBuildLanguage(true);
    ASSERT_EQ(Dialogs->SaveRequests.size(), 1U);
    EXPECT_EQ(Dialogs->SaveRequests[0].InitialDir, Dir.path() + QLatin1Char('/'));
    EXPECT_EQ(Dialogs->SaveRequests[0].FileName, QStringLiteral("Proposed.ori"));
}

TEST_F(LangBuildTest, CancelHarvestsNothingForTheRestOfTheRun) {
    Dialogs->SaveAnswer.reset();
    QString text = QStringLiteral("a\r\nb");
    Manager.SetBuildLanguage(true);
    Manager.MakeText("S", "K", text);
    QStringList list{"x"};
    Manager.MakeStringList("S", "L", list);
    EXPECT_TRUE(Manager.CancelAll());
    EXPECT_EQ(text, QStringLiteral("a\r\nb"));
    EXPECT_TRUE(Dialogs->Questions.isEmpty());
    EXPECT_EQ(Dialogs->SaveRequests.size(), 1U);
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(LangBuildTest, MakeTextWritesAtOnceWithLineBreaksStored) {
    Manager.SetBuildLanguage(true);
    QString text = QStringLiteral("a\r\nb\nc");
    Manager.MakeText("S", "K", text);
    EXPECT_EQ(text, QStringLiteral("a/r/nb/r/nc"));
    EXPECT_EQ(TLangFile::Open(Path("Test.ori")).ReadString("S", "K", {}),
              QStringLiteral("\"a/r/nb/r/nc\""));
    QString common = QStringLiteral(" padded ");
    Manager.MakeText("FrmAbout", "SVersion", common, true);
    EXPECT_EQ(TLangFile::Open(Path("Common.ori")).ReadString("FrmAbout", "SVersion", {}),
              QStringLiteral("\" padded \""));
}

TEST_F(LangBuildTest, KeptCommonFileKeepsItsTextsAndListsReplaceUpTo200Entries) {
    Write("Common.ori", "[Common]\nLanguage=\"Deutsch\"\n[S]\nOld=\"kept\"\n"
                        "L.List[7]=\"old 7\"\nL.List[201]=\"old 201\"\n");
    Dialogs->YesAnswer = false;
    Manager.SetBuildLanguage(true);
    QStringList list{"a", "say \"b\"", "c\nd"};
    Manager.MakeStringList("S", "L", list, true);
    EXPECT_EQ(list, QStringList({"a", "say \"b\"", "c\nd"}));
    const TLangFile common = TLangFile::Open(Path("Common.ori"));
    EXPECT_EQ(common.ReadString("Common", "Language", {}), QStringLiteral("\"ORIGINAL\""));
    EXPECT_EQ(common.ReadString("S", "Old", {}), QStringLiteral("\"kept\""));
    EXPECT_EQ(common.SectionKeys("S"),
              QStringList({"Old", "L.List[201]", "L.List[0]", "L.List[1]", "L.List[2]"}));
    EXPECT_EQ(common.ReadString("S", "L.List[1]", {}), QStringLiteral("\"say \"\"b\"\"\""));
    EXPECT_EQ(common.ReadString("S", "L.List[2]", {}), QStringLiteral("\"c d\""));
}

TEST_F(LangBuildTest, YesDeletesTheCommonFile) {
    Write("Common.ori", "[S]\nOld=\"gone\"\n");
    Dialogs->YesAnswer = true;
    Manager.SetBuildLanguage(true);
    QString text = QStringLiteral("new");
    Manager.MakeText("S", "New", text, true);
    const TLangFile common = TLangFile::Open(Path("Common.ori"));
    EXPECT_FALSE(common.Value("S", "Old").has_value());
    EXPECT_EQ(common.ReadString("S", "New", {}), QStringLiteral("\"new\""));
}

TEST_F(LangBuildTest, HarvestedTextsReadBackAsBuiltIn) {
    Manager.SetBuildLanguage(true);
    QString text = QStringLiteral("  two\r\nlines \"quoted\" ");
    QStringList list{"x \"y\"", " z "};
    Manager.MakeText("S", "K", text);
    Manager.MakeStringList("S", "L", list);

    TLangManager reader;
    reader.SetAppFileName(Path("Test.ori"));
    QString read = QStringLiteral("other");
    QStringList readList;
    reader.MakeText("S", "K", read);
    reader.MakeStringList("S", "L", readList);
    EXPECT_EQ(read, QStringLiteral("  two\r\nlines \"quoted\" "));
    EXPECT_EQ(readList, list);
}

TEST_F(LangBuildTest, FailedWriteReachesTheCaller) {
    Dialogs->SaveAnswer = Path("missing/Test.ori");
    Manager.SetBuildLanguage(true);
    QString text = QStringLiteral("t");
    EXPECT_THROW(Manager.MakeText("S", "K", text), ELangFileError);
}

} // namespace
} // namespace pellix::test
