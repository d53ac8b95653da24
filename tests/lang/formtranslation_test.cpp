// Form translation: full names, the class table when reading and harvesting,
// binding, the walk, and a real round trip through a German translation.

#include "lang/formclasses.h"
#include "langtest.h"
#include "testforms.h"

#include <QCoreApplication>
#include <QPointer>

#include <functional>

#include <gtest/gtest.h>

namespace pellix::test {
namespace {

using Pick = std::function<QObject*(TFrmTest&)>;

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { Manager.SetDialogs(Dialogs); }
    // Opens an application file whose [section] holds body.
    void Open(const QString& body, const QString& section = QStringLiteral("FrmTest")) {
        WriteBytes(Dir.filePath("x.lan"),
                   LanFile("X", QLatin1Char('[') + section + QLatin1String("]\n") + body));
        Manager.SetAppFileName(Dir.filePath("x.lan"));
    }

    QTemporaryDir Dir;
    std::shared_ptr<TFakeDialogs> Dialogs = std::make_shared<TFakeDialogs>();
    TLangManager Manager;
    TFrmTest Form;
};

// --- Full names ----------------------------------------------------------

struct TNameCase {
    const char* Name;
    const char* Section;
    Pick Object;
    const char* Expected;
    friend void PrintTo(const TNameCase& c, std::ostream* os) { *os << c.Name; }
};

class FullName : public FormTest, public ::testing::WithParamInterface<TNameCase> {};

TEST_P(FullName, FollowsTheNamedOwners) {
    EXPECT_EQ(Manager.GetFullName(QString::fromLatin1(GetParam().Section), GetParam().Object(Form)),
              QString::fromLatin1(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullName,
    ::testing::Values(
        TNameCase{"Form", "FrmTest", [](TFrmTest& f) { return &f; }, "FrmTest"},
        TNameCase{"OnTheForm", "FrmTest", [](TFrmTest& f) { return f.lbName; }, "lbName"},
        TNameCase{"InAContainer", "FrmTest", [](TFrmTest& f) { return f.lbInner; },
                  "gbBox.lbInner"},
        TNameCase{"TabPageThroughQtHelpers", "FrmTest", [](TFrmTest& f) { return f.tsOne; },
                  "pcMain.tsOne"},
        TNameCase{"OnATabPage", "FrmTest", [](TFrmTest& f) { return f.lbPage; },
                  "pcMain.tsOne.lbPage"},
        TNameCase{"MenuItem", "FrmTest", [](TFrmTest& f) { return f.acOpen; },
                  "MainMenu1.mnFile.acOpen"},
        TNameCase{"UnnamedOwner", "FrmTest", [](TFrmTest& f) { return f.lbOrphan; }, ""},
        TNameCase{"ClassNameSection", "tfrmtest", [](TFrmTest& f) { return f.lbInner; },
                  "gbBox.lbInner"},
        TNameCase{"StopsAtTheSectionsClass", "QGroupBox", [](TFrmTest& f) { return f.lbInner; },
                  "lbInner"},
        TNameCase{"Null", "FrmTest", [](TFrmTest&) { return nullptr; }, ""}),
    [](const auto& p) { return std::string(p.param.Name); });

// --- Reading -------------------------------------------------------------

struct TReadCase {
    const char* Name;
    const char* Lines;
    std::function<QString(TFrmTest&)> Get;
    const char* Expected;
    friend void PrintTo(const TReadCase& c, std::ostream* os) { *os << c.Name; }
};

class ReadRule : public FormTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(ReadRule, SetsWhatTheClassTableSays) {
    Form.lbName->setText(QStringLiteral("\"Quoted\""));
    Open(QString::fromUtf8(GetParam().Lines));
    Manager.ReadForm(&Form, false);
    EXPECT_EQ(GetParam().Get(Form), QString::fromUtf8(GetParam().Expected));
}

// The items of a list or combo box and the selected index.
template <class T>
QString Items(T* w) {
    QStringList items;
    for (int i = 0; i < w->count(); ++i) {
        if constexpr (std::is_same_v<T, QComboBox>) {
            items << w->itemText(i);
        } else {
            items << w->item(i)->text();
        }
    }
    int current = 0;
    if constexpr (std::is_same_v<T, QComboBox>) {
        current = w->currentIndex();
    } else {
        current = w->currentRow();
    }
    return items.join('|') + QLatin1Char('@') + QString::number(current);
}
QString ComboItems(TFrmTest& f) {
    return Items(f.cbChoice);
}
QString ListItems(TFrmTest& f) {
    return Items(f.lwList);
}

QString ActionHint(QAction* a) {
    return formclasses::FindRow(a)->Hint.Get(a) + QLatin1Char('|') + a->toolTip();
}

const TReadCase ReadCases[] = {
    {"CaptionQuotesGoWithoutKey", "", [](TFrmTest& f) { return f.lbName->text(); }, "Quoted"},
    {"EmptyCaptionKeyKeepsCaption", "lbName.Caption=\n",
     [](TFrmTest& f) { return f.lbName->text(); }, "Quoted"},
    {"CaptionKeyIgnoresCase", "LBNAME.caption=\"Nom\"\n",
     [](TFrmTest& f) { return f.lbName->text(); }, "Nom"},
    {"CaptionLineBreak", "lbName.Caption=\"a/r/nb\"\n",
     [](TFrmTest& f) { return f.lbName->text(); }, "a\nb"},
    {"CaptionBlanksInQuotes", "lbName.Caption=\"  x  \"\n",
     [](TFrmTest& f) { return f.lbName->text(); }, "  x  "},
    {"CaptionTwoQuotes", "lbName.Caption=\"\"\n", [](TFrmTest& f) { return f.lbName->text(); },
     "\"\""},
    {"EmptyHintKeyClearsHint", "lbName.Hint=\n", [](TFrmTest& f) { return f.lbName->toolTip(); },
     ""},
    {"MenuItemEmptyCaptionKeeps", "MainMenu1.mnFile.acOpen.Caption=\n",
     [](TFrmTest& f) { return f.acOpen->text(); }, "&Open"},
    {"MenuItemEmptyHintClears", "MainMenu1.mnFile.acOpen.Hint=\n",
     [](TFrmTest& f) { return ActionHint(f.acOpen); }, "|Open"},
    {"MenuItemHint", "MainMenu1.mnFile.acQuit.Hint=\"Leaves\"\n",
     [](TFrmTest& f) { return ActionHint(f.acQuit); }, "Leaves|Leaves"},
    {"Form", "FrmTest.Caption=\"Formular\"\n", [](TFrmTest& f) { return f.windowTitle(); },
     "Formular"},
    {"ComboUpdateKeepsTailAndIndex",
     "cbChoice.List[0]=\"eins\"\ncbChoice.List[1]=zwei\ncbChoice.List[2]=\"drei\"\n", ComboItems,
     "eins|zwei|drei|four|five@4"},
    {"ComboWithoutEntry0Unchanged", "cbChoice.List[1]=\"zwei\"\n", ComboItems,
     "one|two|three|four|five@4"},
    {"ListUpdateAppends", "lwList.List[0]=rot\nlwList.List[1]=grün\nlwList.List[2]=blau\n",
     ListItems, "rot|grün|blau@1"},
    {"RichEditReplace",
     "reText.List[0]=\"eins\"\nreText.List[1]=\"zwei\"\nreText.List[2]=\"drei\"\n",
     [](TFrmTest& f) { return f.reText->toPlainText(); }, "eins\nzwei\ndrei"},
    {"MemoUpdate", "mmNotes.List[0]=\"Notiz\"\n",
     [](TFrmTest& f) { return f.mmNotes->toPlainText(); }, "Notiz\nnote 2"},
    {"MemoEmptyHintKeeps", "mmNotes.Hint=\n", [](TFrmTest& f) { return f.mmNotes->toolTip(); },
     "Notes"},
    {"MemoHintNoLineBreaks", "mmNotes.Hint=\"a/r/nb\"\n",
     [](TFrmTest& f) { return f.mmNotes->toolTip(); }, "a/r/nb"},
    {"MainMenuQuotedStrings",
     "MainMenu1.Menu[0]=\"&Da\"\"tei\"\nMainMenu1.Menu[1]=Hilfe\nMainMenu1.Menu[3]=x\n",
     [](TFrmTest& f) { return f.mnFile->title() + '|' + f.mnHelp->title(); }, "&Da\"tei|Hilfe"},
    {"TabPage", "pcMain.tsTwo.Caption=\"Zwei\"\npcMain.tsOne.Hint=\n",
     [](TFrmTest& f) { return f.pcMain->tabText(1) + '|' + f.pcMain->tabToolTip(0); }, "Zwei|"},
    {"PageControlReadsNothing", "pcMain.Hint=\"x\"\n",
     [](TFrmTest& f) { return f.pcMain->toolTip(); }, ""},
    {"EditText", "edName.Caption=\"neu\"\n", [](TFrmTest& f) { return f.edName->text(); }, "neu"},
    {"MaskedEditText", "edDate.Caption=\"31.12.1999\"\n",
     [](TFrmTest& f) { return f.edDate->text(); }, "31.12.1999"},
    {"ButtonsAndBoxes",
     "bnOk.Caption=a\ntbTool.Caption=b\nchSound.Caption=c\nrbFast.Caption=d\ngbBox.Caption=e\n"
     "gbBox.lbInner.Caption=f\npcMain.tsOne.lbPage.Caption=g\n",
     [](TFrmTest& f) {
         return f.bnOk->text() + f.tbTool->text() + f.chSound->text() + f.rbFast->text() +
                f.gbBox->title() + f.lbInner->text() + f.lbPage->text();
     },
     "abcdefg"},
    {"HintOnlyClasses", "sgGrid.Hint=\"G\"\npnPanel.Hint=\"P\"\nsgGrid.Caption=x\n",
     [](TFrmTest& f) { return f.sgGrid->toolTip() + f.pnPanel->toolTip(); }, "GP"},
    {"NoFullNameNoKeys", "lbOrphan.Caption=\"x\"\n.Caption=\"y\"\n",
     [](TFrmTest& f) { return f.lbOrphan->text(); }, "\"Orphan\""},
};

INSTANTIATE_TEST_SUITE_P(Table, ReadRule, ::testing::ValuesIn(ReadCases),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST_F(FormTest, Tag98IsReadButNeverHarvested) {
    Form.lbName->setProperty(formclasses::TagProperty, 98);
    Form.gbBox->setProperty(formclasses::TagProperty, QStringLiteral("98"));
    Open(QStringLiteral("lbName.Caption=\"Gelesen\"\n"));
    Manager.ReadForm(&Form, false);
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("Gelesen"));

    Dialogs->SaveAnswer = Dir.filePath("Test.ori");
    TWorkingDir cwd(Dir.path());
    TLangManager builder;
    builder.SetDialogs(Dialogs);
    builder.SetBuildLanguage(true);
    builder.MakeForm(&Form, true, false);
    const QStringList keys = TLangFile::Open(Dir.filePath("Test.ori")).SectionKeys("FrmTest");
    EXPECT_FALSE(keys.contains("lbName.Caption"));
    EXPECT_FALSE(keys.contains("gbBox.Caption"));
    EXPECT_TRUE(keys.contains("gbBox.lbInner.Caption"));
}

class ClassNames : public FormTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ClassNames, ChooseTheFormsSection) {
    WriteBytes(Dir.filePath("x.lan"),
               LanFile("X", QStringLiteral("[TFrmTest]\nlbName.Caption=ByClass\n"
                                           "[FrmTest]\nlbName.Caption=ByName\n")));
    Manager.SetAppFileName(Dir.filePath("x.lan"));
    Manager.SetOptions(GetParam() ? TLMSetOptions{lmNumUnits, lmClassNames}
                                  : TLMSetOptions{lmNumUnits});
    Manager.ReadForm(&Form, false);
    EXPECT_EQ(Form.lbName->text(),
              GetParam() ? QStringLiteral("ByClass") : QStringLiteral("ByName"));
}

INSTANTIATE_TEST_SUITE_P(Option, ClassNames, ::testing::Bool());

TEST_F(FormTest, FormsAreHandledOnlyWithTheirFileOpen) {
    Form.lbName->setText(QStringLiteral("\"Quoted\""));
    Manager.MakeForm(&Form, true, false); // no file open
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("\"Quoted\""));
    Open(QStringLiteral("lbName.Caption=Name\n"));
    Manager.MakeForm(&Form, true, true); // the common file is not open
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("\"Quoted\""));
    Form.setObjectName(QString());
    Manager.ReadForm(&Form, false);
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("\"Quoted\""));
}

TEST_F(FormTest, ShownFormsSkipsUnforcedRepeats) {
    Open(QStringLiteral("lbName.Caption=Name\n"));
    Manager.MakeForm(&Form, false, false);
    EXPECT_EQ(Manager.ShownForms, QStringList({"FrmTest"}));
    Form.lbName->setText(QStringLiteral("changed"));
    Form.setObjectName(QStringLiteral("FRMTEST"));
    Manager.MakeForm(&Form, false, false);
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("changed"));
    Manager.MakeForm(&Form, true, false);
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("Name"));
}

TEST_F(FormTest, ReadComponentNeedsBothFilesAndUsesItsNameAsSection) {
    WriteBytes(
        Dir.filePath("A.lan"),
        LanFile("A", QStringLiteral("[gbBox]\ngbBox.Caption=Box\ngbBox.lbInner.Caption=In\n")));
    WriteBytes(Dir.filePath("Common.lan"), "[Common]\n");
    Manager.SetAppFileName(Dir.filePath("A.lan"));
    Manager.ReadComponent(Form.gbBox, false);
    EXPECT_EQ(Form.gbBox->title(), QStringLiteral("Options"));
    Manager.SetLanguageFolder(Dir.path());
    Manager.SetLanguage(QStringLiteral("A"));
    Manager.ReadComponent(Form.gbBox, false);
    EXPECT_EQ(Form.gbBox->title(), QStringLiteral("Box"));
    EXPECT_EQ(Form.lbInner->text(), QStringLiteral("In"));
}

// --- Binding and the walk ------------------------------------------------

// Runs an action when it receives QEvent::User.
class TEventProbe : public QObject {
public:
    std::function<void()> Action;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            Action();
            return true;
        }
        return QObject::event(e);
    }
};

TEST_F(FormTest, BindingTranslatesOnceTheEventLoopRuns) {
    Open(QStringLiteral("lbName.Caption=Gebunden\n"));
    int fired = 0;
    Form.Lang->SetOnLanguageChanged([&](QObject* sender) {
        EXPECT_EQ(sender, Form.Lang);
        ++fired;
    });
    Form.Lang->SetLanManager(nullptr);
    EXPECT_EQ(Form.Lang->LanManager(), nullptr);
    Form.Lang->SetLanManager(&Manager);
    EXPECT_EQ(Form.Lang->Form(), &Form);
    EXPECT_EQ(Manager.FormList(), std::vector<TLangComponent*>{Form.Lang});
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("Name:"));
    QCoreApplication::processEvents();
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("Gebunden"));
    EXPECT_EQ(fired, 1);
    Form.Lang->SetLanManager(nullptr);
    EXPECT_EQ(Form.Lang->LanManager(), &Manager);
    EXPECT_FALSE(Form.Lang->isVisible());
    EXPECT_EQ(Form.Lang->size(), QSize(28, 28));
}

TEST_F(FormTest, ManagerForgetsGoneComponentsAndComponentsAGoneManager) {
    auto* second = new TLangManager;
    auto* other = new TFrmTest("FrmOther");
    Form.Lang->SetLanManager(&Manager);
    other->Lang->SetLanManager(&Manager);
    other->Lang->SetLanManager(second);
    EXPECT_EQ(Manager.FormList(), std::vector<TLangComponent*>{Form.Lang});
    EXPECT_EQ(second->FormList(), std::vector<TLangComponent*>{other->Lang});
    delete second;
    EXPECT_EQ(other->Lang->LanManager(), nullptr);
    QCoreApplication::processEvents(); // the posted events find no manager
    other->Lang->SetLanManager(&Manager);
    delete other;
    EXPECT_EQ(Manager.FormList(), std::vector<TLangComponent*>{Form.Lang});
    QCoreApplication::processEvents();
}

TEST_F(FormTest, WalkProcessesPendingEventsAndSurvivesAFormDestroyedByThem) {
    Open(QStringLiteral("lbName.Caption=Neu\n"));
    auto* doomed = new TFrmTest("FrmDoomed");
    Form.Lang->SetLanManager(&Manager);
    doomed->Lang->SetLanManager(&Manager);
    QCoreApplication::processEvents();
    QPointer<TFrmTest> watch(doomed);
    bool during = false;
    TEventProbe probe;
    probe.Action = [&] {
        during = true;
        delete watch.data();
    };
    QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    Form.lbName->setText(QStringLiteral("old"));
    int before = 0;
    Manager.SetOnBeforeLanguageChanged([&](QObject*) { ++before; });
    Manager.ShownForms << QStringLiteral("x");
    Manager.PerformLanguageChanged();
    EXPECT_TRUE(during);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(before, 1);
    EXPECT_EQ(Form.lbName->text(), QStringLiteral("Neu"));
    EXPECT_EQ(Manager.FormList(), std::vector<TLangComponent*>{Form.Lang});
    EXPECT_EQ(Manager.ShownForms, QStringList({"FrmTest"}));
}

// --- Round trip ----------------------------------------------------------

QStringList Texts(const TFrmTest& f) {
    QStringList t{f.windowTitle(),     f.toolTip(),      f.mnFile->title(), f.acOpen->text(),
                  f.acOpen->toolTip(), f.acQuit->text(), f.mnHelp->title(), f.lbName->text(),
                  f.lbName->toolTip(), f.bnOk->text(),   f.tbTool->text()};
    for (int i = 0; i < f.cbChoice->count(); ++i) {
        t << f.cbChoice->itemText(i);
    }
    for (int i = 0; i < f.lwList->count(); ++i) {
        t << f.lwList->item(i)->text();
    }
    t << f.edName->text() << f.edName->toolTip() << f.edDate->text() << f.mmNotes->toolTip()
      << f.mmNotes->toPlainText() << f.reText->toPlainText() << f.chSound->text()
      << f.rbFast->text() << f.gbBox->title() << f.lbInner->text() << f.pnPanel->toolTip()
      << f.pcMain->tabText(0) << f.pcMain->tabText(1) << f.pcMain->tabToolTip(0) << f.lbPage->text()
      << f.sgGrid->toolTip();
    return t;
}

const QStringList GermanTexts{"Testformular",
                              "Das Formular",
                              "&Datei",
                              "Ö&ffnen",
                              "Öffnet eine Datei",
                              "&Beenden",
                              "&Hilfe",
                              "Name:",
                              "Ihr Name",
                              "Gut",
                              "Werkzeug",
                              "eins",
                              "zwei",
                              "drei",
                              "vier",
                              "fünf",
                              "rot",
                              "grün",
                              "typed",
                              "Hier tippen",
                              "31.12.1999",
                              "Notizen",
                              "note 1\nnote 2",
                              "Zeile 1\nZeile 2\nZeile 3\nZeile 4\nZeile 5",
                              "Ton",
                              "Schnell",
                              "Optionen",
                              "Innen",
                              "Eine Tafel",
                              "Erste",
                              "Zweite",
                              "Die erste Seite",
                              "Auf der Seite",
                              "Ein Gitter"};

void ExpectSameKeys(const QString& harvested, const QString& translated) {
    const TLangFile a = TLangFile::Open(harvested);
    const TLangFile b = TLangFile::Open(translated);
    ASSERT_EQ(a.Sections(), b.Sections()) << translated.toStdString();
    for (const QString& s : a.Sections()) {
        EXPECT_EQ(a.SectionKeys(s), b.SectionKeys(s)) << s.toStdString();
    }
}

TEST(FormRoundTrip, HarvestTranslateAndSwitchLanguages) {
    QTemporaryDir dir;
    TWorkingDir cwd(dir.path());
    const QString data = QStringLiteral(PELLIX_LANG_TEST_DATA);
    auto dialogs = std::make_shared<TFakeDialogs>();
    dialogs->SaveAnswer = dir.filePath("Test.ori");
    dialogs->YesAnswer = true;
    const QStringList english = Texts(TFrmTest());
    {
        TLangManager builder;
        builder.SetDialogs(dialogs);
        TFrmTest form;
        form.Lang->SetLanManager(&builder);
        builder.SetBuildLanguage(true); // harvests the bound form at once
        QString version = QStringLiteral("Pellix Version %s");
        builder.MakeText("FrmAbout", "SVersion", version, true);
        QCoreApplication::processEvents(); // the binding's own event harvests again
        EXPECT_EQ(Texts(form), english);
    }
    ExpectSameKeys(dir.filePath("Test.ori"), data + "/German.lan");
    ExpectSameKeys(dir.filePath("Common.ori"), data + "/GermanCommon.lan");

    // A language folder: English made from the harvest, German from the test data.
    QDir(dir.path()).mkdir("lang");
    const QString lang = dir.filePath("lang/");
    ASSERT_TRUE(QFile::copy(data + "/German.lan", lang + "German.lan"));
    ASSERT_TRUE(QFile::copy(data + "/GermanCommon.lan", lang + "GermanCommon.lan"));
    ASSERT_TRUE(QFile::copy(dir.filePath("Common.ori"), lang + "Common.ori"));
    TLangFile englishFile = TLangFile::Open(dir.filePath("Test.ori"));
    englishFile.WriteString(Title(), "Language", "\"English\"");
    WriteBytes(lang + "English.lan", englishFile.Bytes());

    TLangManager manager;
    manager.SetDialogs(dialogs);
    TFrmTest first;
    TFrmTest second;
    first.Lang->SetLanManager(&manager);
    second.Lang->SetLanManager(&manager);
    manager.SetLanguageFolder(lang);
    ASSERT_EQ(manager.LangList(), QStringList({"English", "Deutsch"}));

    manager.SetLanguage("deutsch");
    EXPECT_EQ(Texts(first), GermanTexts);
    EXPECT_EQ(Texts(second), GermanTexts);
    EXPECT_EQ(first.cbChoice->currentIndex(), 4);
    QString version = QStringLiteral("Pellix Version %s");
    manager.MakeText("FrmAbout", "SVersion", version, true);
    EXPECT_EQ(version, QStringLiteral("Pellix Fassung %s"));

    manager.SetLanguage("English");
    EXPECT_EQ(Texts(first), english);
    EXPECT_EQ(Texts(second), english);
    EXPECT_TRUE(dialogs->Errors.isEmpty());
}

} // namespace
} // namespace pellix::test
