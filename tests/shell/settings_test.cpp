#include "settingsfakehost.h"
#include "settingsprint.h"
#include "shell/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <array>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <limits>
#include <ostream>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

using namespace pellix;
using namespace pellix::testing;

namespace {

// The tests of file modes are POSIX's: Windows keeps access in ACLs that
// these tests do not set.
#ifdef _WIN32
constexpr bool PosixFileModes = false;
bool RunsAsRoot() {
    return false;
}
#else
constexpr bool PosixFileModes = true;
bool RunsAsRoot() {
    return geteuid() == 0;
}
#endif

// A settings file and a desktop folder in a temporary folder, an engine and a
// window stand-in with their start-up defaults.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("Desktop")));
        Restart();
    }

    // A new run of the program on the same files: fresh engine, window and settings.
    void Restart(const char* decimalSep = ".") {
        zun = TZunCalc(1);
        host = TFakeSettingsHost();
        settings = std::make_unique<TSettings>(CfgPath(), zun, host);
        settings->SetDecimalSeparator(QString::fromUtf8(decimalSep));
        host.Settings = settings.get();
    }

    QString CfgPath() const { return tmp.filePath(QStringLiteral("pellix.ini")); }
    QString DesktopPath() const { return tmp.filePath(QStringLiteral("Desktop")); }
    QByteArray CfgBytes() const { return ReadFileBytes(CfgPath()); }
    void WriteCfg(const QByteArray& bytes) const { ASSERT_TRUE(WriteFileBytes(CfgPath(), bytes)); }

    // Loads a file of one section holding the given lines.
    void LoadSection(const QByteArray& lines) {
        WriteCfg("[ZunMain]\n" + lines + "\n");
        settings->LoadSettings();
    }

    QStringList FolderEntries() const {
        return QDir(tmp.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir tmp;
    TZunCalc zun{1};
    TFakeSettingsHost host;
    std::unique_ptr<TSettings> settings;
};

// ---- first start and the written file ----

TEST_F(SettingsFile, FirstStartWithoutFileKeepsDefaultsAndCreatesNoFile) {
    settings->LoadSettings();

    EXPECT_EQ(zun.Mode, zunFix);
    EXPECT_EQ(zun.TrigMode, zunDeg);
    EXPECT_EQ(zun.FixLen, 9);
    EXPECT_EQ(zun.LastX, 0.0);
    EXPECT_EQ(zun.Stack, (std::array<double, 4>{}));
    EXPECT_EQ(zun.Reg, (std::array<double, 10>{}));
    EXPECT_EQ(host.Pos(), QPoint(427, 196));
    EXPECT_EQ(host.Values.TotalScale, 1.0);
    EXPECT_TRUE(host.Values.Sound);
    EXPECT_TRUE(host.Values.StayOnTop);
    EXPECT_EQ(host.Values.LastShowAbout, -1.0);
    EXPECT_FALSE(settings->Loading());
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("Desktop")}); // no file, no temp file
}

TEST_F(SettingsFile, FirstStoreWritesOneSectionWithTheKeysInOrder) {
    settings->LoadSettings();
    host.Values.LastShowAbout = 45000.5; // the start time the window records
    settings->StoreSettings();

    EXPECT_EQ(CfgBytes().toStdString(), "[ZunMain]\n"
                                        "Left=427\nTop=196\n"
                                        "Zun.Mode=0\nZun.TrigMode=0\nZun.FixLen=9\n"
                                        "Sound=1\n"
                                        "Zun.LastX=0\n"
                                        "Zun.Stack[0]=0\nZun.Stack[1]=0\n"
                                        "Zun.Stack[2]=0\nZun.Stack[3]=0\n"
                                        "Zun.Reg[0]=0\nZun.Reg[1]=0\nZun.Reg[2]=0\n"
                                        "Zun.Reg[3]=0\nZun.Reg[4]=0\nZun.Reg[5]=0\n"
                                        "Zun.Reg[6]=0\nZun.Reg[7]=0\nZun.Reg[8]=0\n"
                                        "Zun.Reg[9]=0\n"
                                        "lastShowAbout=45000.5\n"
                                        "StayOnTop=1\n"
                                        "TotalScale=1\n");
    EXPECT_EQ(FolderEntries(),
              (QStringList{QStringLiteral("Desktop"), QStringLiteral("pellix.ini")}));
}

TEST_F(SettingsFile, StoredKeysFollowTheSchemasOrder) {
    settings->StoreSettings();
    std::vector<std::string> stored;
    for (const QByteArray& line : CfgBytes().trimmed().split('\n').mid(1))
        stored.push_back(line.left(line.indexOf('=')).toStdString());
    std::vector<std::string> schema;
    for (const TSettingsKey& row : SettingsSchema()) {
        for (std::size_t i = 0; i < row.Count; ++i)
            schema.push_back(SettingsKeyName(row, i));
    }
    EXPECT_EQ(stored, schema);
}

TEST_F(SettingsFile, StoredStateComesBackAtTheNextStart) {
    host.MoveTo(QPoint(-20, 3000));
    host.Values.Sound = false;
    host.Values.StayOnTop = false;
    host.Values.TotalScale = 1.1 * 1.1;
    host.Values.LastShowAbout = 45123.25;
    zun.Mode = zunEng;
    zun.TrigMode = zunGrad;
    zun.FixLen = 3;
    zun.LastX = -2.5;
    zun.Stack = {1e20, -1.5e-10, 42, -0.0};
    for (std::size_t i = 0; i < zun.Reg.size(); ++i)
        zun.Reg[i] = static_cast<double>(i) * 1.25 - 3;
    const TZunCalc saved = zun;
    settings->StoreSettings();

    Restart();
    settings->LoadSettings();
    EXPECT_EQ(host.Pos(), QPoint(-20, 3000));
    EXPECT_FALSE(host.Values.Sound);
    EXPECT_FALSE(host.Values.StayOnTop);
    EXPECT_EQ(host.Values.TotalScale, 1.1 * 1.1);
    EXPECT_EQ(host.Values.LastShowAbout, 45123.25);
    EXPECT_EQ(zun.Mode, zunEng);
    EXPECT_EQ(zun.TrigMode, zunGrad);
    EXPECT_EQ(zun.FixLen, 3);
    EXPECT_EQ(zun.LastX, -2.5);
    EXPECT_EQ(zun.Stack, saved.Stack);
    EXPECT_TRUE(std::signbit(zun.Stack[3]));
    EXPECT_EQ(zun.Reg, saved.Reg);
}

// ---- float values: every double comes back identical ----

struct FloatCase {
    double stored;
    double loaded;
    friend std::ostream& operator<<(std::ostream& os, const FloatCase& c) {
        return os << std::setprecision(17) << c.stored;
    }
};

class SettingsFloatDigits : public SettingsFile, public ::testing::WithParamInterface<FloatCase> {};

TEST_P(SettingsFloatDigits, ComeBackIdentical) {
    const FloatCase c = GetParam();
    zun.LastX = c.stored;
    zun.Reg[9] = c.stored;
    host.Values.TotalScale = c.stored;
    settings->StoreSettings();
    Restart();
    settings->LoadSettings();
    EXPECT_EQ(zun.LastX, c.loaded);
    EXPECT_EQ(zun.Reg[9], c.loaded);
    EXPECT_EQ(host.Values.TotalScale, c.loaded);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFloatDigits,
                         ::testing::Values(FloatCase{1.0 / 3, 1.0 / 3}, FloatCase{2.0 / 3, 2.0 / 3},
                                           FloatCase{0.1 + 0.2, 0.1 + 0.2},
                                           FloatCase{123456789012345, 123456789012345},
                                           FloatCase{1234567890123456, 1234567890123456},
                                           FloatCase{-9.87654321098765e-10, -9.87654321098765e-10},
                                           FloatCase{std::numeric_limits<double>::max(),
                                                     std::numeric_limits<double>::max()}));

// ---- integer notations ("Left") ----

struct IntegerCase {
    const char* text;
    int left; // 427 is the window's current left, the default
    friend std::ostream& operator<<(std::ostream& os, const IntegerCase& c) {
        return os << PrintableText(c.text);
    }
};

class SettingsIntegerNotation : public SettingsFile,
                                public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(SettingsIntegerNotation, ReadsLeft) {
    LoadSection(QByteArray("Left=") + GetParam().text);
    EXPECT_EQ(host.Pos().x(), GetParam().left) << GetParam().text;
    EXPECT_EQ(host.Pos().y(), 196);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsIntegerNotation,
    ::testing::Values(IntegerCase{"-100", -100}, IntegerCase{"  42  ", 42}, IntegerCase{"0x10", 16},
                      IntegerCase{"0X1f", 31}, IntegerCase{"$10", 16}, IntegerCase{"0x", 427},
                      IntegerCase{"$", 427},
                      IntegerCase{"-2147483648", std::numeric_limits<int>::min()},
                      IntegerCase{"2147483648", 427}, IntegerCase{"-2147483649", 427},
                      IntegerCase{"0x80000000", 427}, IntegerCase{"", 427}, IntegerCase{"1.5", 427},
                      IntegerCase{"\xff\xfe", 427}));

// ---- switches and enumerations: low byte or whole integer ----

struct SwitchCase {
    const char* key;
    const char* text; // nullptr: the key is missing
    bool current;     // the host's value before loading, the default
    bool loaded;
    friend std::ostream& operator<<(std::ostream& os, const SwitchCase& c) {
        return os << c.key << "=" << PrintableText(c.text) << " from " << c.current;
    }
};

class SettingsSwitch : public SettingsFile, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SettingsSwitch, Reads) {
    const SwitchCase c = GetParam();
    const bool isSound = std::string(c.key) == "Sound";
    (isSound ? host.Values.Sound : host.Values.StayOnTop) = c.current;
    LoadSection(c.text ? QByteArray(c.key) + "=" + c.text : QByteArray("Other=1"));
    EXPECT_EQ(isSound ? host.Values.Sound : host.Values.StayOnTop, c.loaded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsSwitch,
    ::testing::Values(
        // "Sound": only the low 8 bits count; the default is the current switch
        SwitchCase{"Sound", "0", true, false}, SwitchCase{"Sound", "2", false, true},
        SwitchCase{"Sound", "256", true, false}, SwitchCase{"Sound", "257", false, true},
        SwitchCase{"Sound", "junk", false, false}, SwitchCase{"Sound", nullptr, false, false},
        // "StayOnTop": any non-zero integer is true
        SwitchCase{"StayOnTop", "2", false, true}, SwitchCase{"StayOnTop", "256", false, true},
        SwitchCase{"StayOnTop", "0", true, false}, SwitchCase{"StayOnTop", "yes", false, false}));

struct EngineIntCase {
    const char* line;
    int mode;
    int trig;
    int fixLen;
    friend std::ostream& operator<<(std::ostream& os, const EngineIntCase& c) {
        return os << PrintableText(c.line);
    }
};

class SettingsEngineIntegers : public SettingsFile,
                               public ::testing::WithParamInterface<EngineIntCase> {};

TEST_P(SettingsEngineIntegers, OutsideTheirRangeTakeTheDefault) {
    zun.Mode = zunSci;
    zun.TrigMode = zunRad;
    zun.FixLen = 5;
    LoadSection(GetParam().line);
    EXPECT_EQ(static_cast<int>(zun.Mode), GetParam().mode);
    EXPECT_EQ(static_cast<int>(zun.TrigMode), GetParam().trig);
    EXPECT_EQ(zun.FixLen, GetParam().fixLen);
}

INSTANTIATE_TEST_SUITE_P(Lines, SettingsEngineIntegers,
                         ::testing::Values(EngineIntCase{"Zun.Mode=258", 2, 1, 5},
                                           EngineIntCase{"Zun.Mode=-1", 1, 1, 5},
                                           EngineIntCase{"Zun.Mode=7\nZun.TrigMode=3", 1, 1, 5},
                                           EngineIntCase{"Zun.TrigMode=514", 1, 2, 5},
                                           EngineIntCase{"Zun.FixLen=-3", 1, 1, 5},
                                           EngineIntCase{"Zun.FixLen=10", 1, 1, 5},
                                           EngineIntCase{"Zun.FixLen=0", 1, 1, 0},
                                           EngineIntCase{"Zun.FixLen=9.0", 1, 1, 5}));

// ---- decimal separator ----

TEST_F(SettingsFile, FileWithDecimalCommaReadUnderPointKeepsEveryNumber) {
    Restart(",");
    host.MoveTo(QPoint(-5, 7));
    host.Values.TotalScale = 1.1;
    host.Values.LastShowAbout = 45000.75;
    host.Values.StayOnTop = false;
    zun.FixLen = 4;
    zun.LastX = 2.5;
    zun.Stack = {3, -0.5, 1e20, 1.5e-10};
    zun.Reg[0] = -12;
    settings->StoreSettings();
    ASSERT_TRUE(CfgBytes().contains("\nZun.LastX=2,5\n"));

    Restart(".");
    zun.LastX = 11;
    zun.Stack = {21, 22, 23, 24};
    zun.Reg[0] = 31;
    settings->LoadSettings();
    EXPECT_EQ(host.Pos(), QPoint(-5, 7));
    EXPECT_FALSE(host.Values.StayOnTop);
    EXPECT_EQ(zun.FixLen, 4);
    EXPECT_EQ(zun.LastX, 2.5);
    EXPECT_EQ(zun.Stack, (std::array<double, 4>{3, -0.5, 1e20, 1.5e-10}));
    EXPECT_EQ(zun.Reg[0], -12);
    EXPECT_EQ(host.Values.TotalScale, 1.1);
    EXPECT_EQ(host.Values.LastShowAbout, 45000.75);
}

TEST_F(SettingsFile, TextsThatDoNotReadStayUntilTheUserGivesTheKeyANewValue) {
    host.MoveTo(QPoint(3, 4));
    LoadSection("Left=12px\nTop=9\nZun.Stack[0]=1.5.0\nZun.Reg[3]=--2\nTotalScale=big\n"
                "StayOnTop=yes");
    EXPECT_EQ(host.Pos(), QPoint(3, 9));
    EXPECT_EQ(zun.Stack[0], 0.0);
    settings->StoreSettings();
    const QByteArray first = CfgBytes();
    EXPECT_TRUE(first.startsWith("[ZunMain]\nLeft=12px\nTop=9\nZun.Stack[0]=1.5.0\n"
                                 "Zun.Reg[3]=--2\nTotalScale=big\nStayOnTop=yes\n"))
        << first.constData();

    host.MoveTo(QPoint(5, 9)); // dragged
    zun.Stack[0] = 2;
    host.Values.TotalScale = 1.1;
    settings->StoreSettings();
    EXPECT_TRUE(CfgBytes().startsWith("[ZunMain]\nLeft=5\nTop=9\nZun.Stack[0]=2\n"
                                      "Zun.Reg[3]=--2\nTotalScale=1.1\nStayOnTop=yes\n"))
        << CfgBytes().constData();
}

TEST_F(SettingsFile, FileWithByteOrderMarkIsReadAndStoredInItsOwnEncodingAndLineEnds) {
    const auto utf16 = [](QByteArrayView ascii, bool bigEndian) {
        QByteArray out = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        for (const char c : ascii) {
            out += bigEndian ? '\0' : c;
            out += bigEndian ? c : '\0';
        }
        return out;
    };
    const QByteArray lines = "[ZunMain]\rLeft=12\rZun.Stack[0]=2.5\r";
    const std::array<std::pair<QByteArray, QByteArray>, 3> files{{
        {"\xEF\xBB\xBF" + lines, "\xEF\xBB\xBF"},
        {utf16(lines, false), "\xFF\xFE"},
        {utf16(lines, true), "\xFE\xFF"},
    }};
    for (const auto& [file, bom] : files) {
        Restart();
        WriteCfg(file);
        settings->LoadSettings();
        EXPECT_EQ(host.Pos().x(), 12);
        EXPECT_EQ(zun.Stack[0], 2.5);
        zun.Stack[0] = 3;
        settings->StoreSettings();
        const TIniDocument stored(CfgBytes().toStdString());
        EXPECT_TRUE(CfgBytes().startsWith(bom));
        EXPECT_EQ(stored.Encoding(), TIniDocument(file.toStdString()).Encoding());
        EXPECT_EQ(stored.ReadString("ZunMain", "Zun.Stack[0]"), "3");
        const QByteArray header =
            bom.size() == 3 ? QByteArray("[ZunMain]") : utf16("[ZunMain]", bom[0] == '\xFE').mid(2);
        EXPECT_EQ(CfgBytes().count(header), 1) << "one section";
        EXPECT_FALSE(CfgBytes().contains('\n'));
    }
}

// ---- what the file holds besides our keys ----

TEST_F(SettingsFile, StoreKeepsForeignKeysSectionsCommentsAndKeyOrder) {
    WriteCfg("; Pellix settings\r\n"
             "[Other]\r\n"
             "Left=1\r\n"
             "\r\n"
             "[zunmain]\r\n"
             "TotalScale = 2 ; not a comment\r\n"
             "Mine=keep\r\n"
             "# comment inside\r\n"
             "LEFT=5\r\n"
             "junk line\r\n"
             "\r\n"
             "[Tail]\r\n"
             "x=y");
    settings->LoadSettings();
    EXPECT_EQ(host.Pos().x(), 5);           // the section and the key match in any case
    EXPECT_EQ(host.Values.TotalScale, 1.0); // "2 ; not a comment" is no number
    host.Values.TotalScale = 1.5;
    host.Values.LastShowAbout = 2;
    settings->StoreSettings();

    EXPECT_EQ(CfgBytes().toStdString(), "; Pellix settings\r\n"
                                        "[Other]\r\n"
                                        "Left=1\r\n"
                                        "\r\n"
                                        "[zunmain]\r\n"
                                        "TotalScale = 1.5\r\n"
                                        "Mine=keep\r\n"
                                        "# comment inside\r\n"
                                        "LEFT=5\r\n"
                                        "Top=196\r\n"
                                        "Zun.Mode=0\r\nZun.TrigMode=0\r\nZun.FixLen=9\r\n"
                                        "Sound=1\r\n"
                                        "Zun.LastX=0\r\n"
                                        "Zun.Stack[0]=0\r\nZun.Stack[1]=0\r\n"
                                        "Zun.Stack[2]=0\r\nZun.Stack[3]=0\r\n"
                                        "Zun.Reg[0]=0\r\nZun.Reg[1]=0\r\nZun.Reg[2]=0\r\n"
                                        "Zun.Reg[3]=0\r\nZun.Reg[4]=0\r\nZun.Reg[5]=0\r\n"
                                        "Zun.Reg[6]=0\r\nZun.Reg[7]=0\r\nZun.Reg[8]=0\r\n"
                                        "Zun.Reg[9]=0\r\n"
                                        "lastShowAbout=2\r\n"
                                        "StayOnTop=1\r\n"
                                        "junk line\r\n"
                                        "\r\n"
                                        "[Tail]\r\n"
                                        "x=y");
}

TEST_F(SettingsFile, MissingSectionIsAddedAfterTheFileAndASecondStoreChangesOnlyValues) {
    WriteCfg("[Other]\nKey=1");
    settings->StoreSettings();
    const QByteArray first = CfgBytes();
    EXPECT_TRUE(first.startsWith("[Other]\nKey=1\n\n[ZunMain]\nLeft=427\n"));
    EXPECT_TRUE(first.endsWith("\nTotalScale=1\n"));

    zun.Stack[0] = 5;
    settings->StoreSettings();
    QByteArray expected = first;
    expected.replace("Zun.Stack[0]=0", "Zun.Stack[0]=5");
    EXPECT_EQ(CfgBytes(), expected);
}

// ---- failed stores ----

TEST_F(SettingsFile, ReadOnlyFileStaysByteIdentical) {
    const QByteArray before = "[ZunMain]\nLeft=5\n; mine\n";
    WriteCfg(before);
    ASSERT_TRUE(QFile::setPermissions(CfgPath(), QFile::ReadOwner | QFile::ReadGroup));
    settings->LoadSettings();
    zun.Stack[0] = 99;
    settings->StoreSettings(); // silently refused, also for root
    EXPECT_EQ(CfgBytes(), before);
    EXPECT_EQ(FolderEntries(),
              (QStringList{QStringLiteral("Desktop"), QStringLiteral("pellix.ini")}));
    EXPECT_EQ(host.Pos().x(), 5);
    EXPECT_EQ(zun.Stack[0], 99); // the program goes on with its own state
}

// A file beside the program that cannot be replaced hands over to the copy
// in the configuration folder, made from it.
class SettingsFallback : public SettingsFile {
protected:
    QString CopyPath() const { return tmp.filePath(QStringLiteral("config/pellix.ini")); }
    void UseFallback() {
        settings = std::make_unique<TSettings>(
            TSettingsFiles(CfgPath().toStdString(), CopyPath().toStdString()), zun, host);
        settings->SetDecimalSeparator(QStringLiteral("."));
        host.Settings = settings.get();
    }
    void ExpectHandedOver(const QByteArray& before) {
        EXPECT_EQ(CfgBytes(), before) << "the file beside stays as it was";
        const QByteArray copy = ReadFileBytes(CopyPath());
        EXPECT_TRUE(copy.startsWith("[ZunMain]\nLeft=5\n")) << copy.constData();
        EXPECT_TRUE(copy.contains("\n; mine\n")) << copy.constData();
        EXPECT_TRUE(copy.contains("\nZun.Stack[0]=99\n")) << copy.constData();
        EXPECT_TRUE(copy.contains("\n\n[Pellix]\nCopyOf=" + CfgPath().toUtf8() + "\n"))
            << copy.constData();
        EXPECT_EQ(settings->CFGFileName(), CopyPath());
        zun.Stack[0] = 100; // the next store goes to the copy only
        settings->StoreSettings();
        EXPECT_TRUE(ReadFileBytes(CopyPath()).contains("\nZun.Stack[0]=100\n"));
        EXPECT_EQ(CfgBytes(), before);
    }
};

TEST_F(SettingsFallback, ReadOnlyFileHandsOverToTheConfigCopy) {
    const QByteArray before = "[ZunMain]\nLeft=5\n; mine\n";
    WriteCfg(before);
    ASSERT_TRUE(QFile::setPermissions(CfgPath(), QFile::ReadOwner | QFile::ReadGroup));
    UseFallback();
    settings->LoadSettings();
    zun.Stack[0] = 99;
    settings->StoreSettings();
    ExpectHandedOver(before);
}

TEST_F(SettingsFallback, RefusedRenameHandsOverToTheConfigCopy) {
    const QByteArray before = "[ZunMain]\nLeft=5\n; mine\n";
    WriteCfg(before);
    UseFallback();
    TIniSaveHooks hooks;
    hooks.Rename = [this](const std::filesystem::path& temp, const std::filesystem::path& target) {
        std::error_code ec;
        if (target == std::filesystem::path(CfgPath().toStdString()))
            return std::make_error_code(std::errc::permission_denied); // a read-only folder
        std::filesystem::rename(temp, target, ec);
        return ec;
    };
    settings->SetSaveHooks(hooks);
    settings->LoadSettings();
    zun.Stack[0] = 99;
    settings->StoreSettings();
    ExpectHandedOver(before);
    EXPECT_EQ(FolderEntries(), (QStringList{QStringLiteral("Desktop"), QStringLiteral("config"),
                                            QStringLiteral("pellix.ini")}));
}

TEST_F(SettingsFallback, OtherFailuresKeepTheFileAndAreReportedOnStderr) {
    const QString missing = tmp.filePath(QStringLiteral("gone/pellix.ini"));
    QProcess child;
    child.start(QStringLiteral(PELLIX_STORE_LOOP), {missing, QStringLiteral("2"), CopyPath()});
    ASSERT_TRUE(child.waitForFinished(20000));
    const QList<QByteArray> lines = child.readAllStandardError().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << "one line per failed store";
    EXPECT_TRUE(lines[0].startsWith("pellix: cannot store the settings in '" + missing.toUtf8()))
        << lines[0].constData();
    EXPECT_FALSE(QFileInfo::exists(CopyPath())) << "no hand-over for a missing folder";
}

TEST_F(SettingsFallback, WritableFileInAReadOnlyFolderAsAnUnprivilegedUser) {
    if (!PosixFileModes || !RunsAsRoot() ||
        QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root to become an unprivileged user";
    const QByteArray before = "[ZunMain]\nLeft=5\n; mine\n";
    WriteCfg(before);
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("config")));
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                     QFile::ExeOther;
    const auto readOnly = all & ~(QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), readOnly));
    ASSERT_TRUE(QFile::setPermissions(
        CfgPath(), all & ~(QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther)));
    ASSERT_TRUE(QFile::setPermissions(tmp.filePath(QStringLiteral("config")), all));
    QProcess child;
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QStringLiteral(PELLIX_STORE_LOOP), CfgPath(),
                 QStringLiteral("2"), CopyPath()});
    ASSERT_TRUE(child.waitForFinished(20000));
    QFile::setPermissions(tmp.path(), all);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().constData();
    EXPECT_EQ(child.readAllStandardError(), "");
    EXPECT_EQ(CfgBytes(), before);
    const QByteArray copy = ReadFileBytes(CopyPath());
    EXPECT_TRUE(copy.startsWith("[ZunMain]\nLeft=2\n")) << copy.constData();
    EXPECT_TRUE(copy.endsWith("\n; mine\n\n[Pellix]\nCopyOf=" + CfgPath().toUtf8() + "\n"))
        << copy.constData();
    EXPECT_TRUE(copy.contains("\nZun.LastX=2\n")) << copy.constData();
}

TEST_F(SettingsFile, ReadOnlyFolderLeavesFileByteIdentical) {
    if (!PosixFileModes || RunsAsRoot())
        GTEST_SKIP() << "root writes into folders without write permission";
    const QByteArray before = "[ZunMain]\nLeft=5\n";
    WriteCfg(before);
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner));
    settings->StoreSettings();
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(CfgBytes(), before);
    EXPECT_EQ(FolderEntries(),
              (QStringList{QStringLiteral("Desktop"), QStringLiteral("pellix.ini")}));
}

TEST_F(SettingsFile, UnreadableFileIsNotOverwritten) {
    if (!PosixFileModes || RunsAsRoot())
        GTEST_SKIP() << "root reads files without read permission";
    const QByteArray before = "[ZunMain]\nMine=1\n";
    WriteCfg(before);
    ASSERT_TRUE(QFile::setPermissions(CfgPath(), QFile::WriteOwner));
    settings->StoreSettings();
    QFile::setPermissions(CfgPath(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(CfgBytes(), before);
}

TEST_F(SettingsFile, FailureBetweenWritingAndRenamingKeepsTheOldFile) {
    const QByteArray before = "[ZunMain]\nLeft=5\nTop=6\n";
    WriteCfg(before);
    bool renameTried = false;
    TIniSaveHooks hooks;
    hooks.Rename = [&](const std::filesystem::path& temp, const std::filesystem::path&) {
        renameTried = true;
        // The new content is complete beside the old file when the rename fails.
        EXPECT_NE(ReadFileBytes(QString::fromStdString(temp.string())).indexOf("Zun.Reg[9]=0"), -1);
        return std::make_error_code(std::errc::io_error);
    };
    settings->SetSaveHooks(hooks);
    settings->StoreSettings();
    EXPECT_TRUE(renameTried);
    EXPECT_EQ(CfgBytes(), before);
    EXPECT_EQ(FolderEntries(),
              (QStringList{QStringLiteral("Desktop"), QStringLiteral("pellix.ini")}));

    settings->SetSaveHooks({});
    settings->StoreSettings(); // the next store succeeds
    EXPECT_TRUE(CfgBytes().endsWith("TotalScale=1\n"));
}

TEST_F(SettingsFile, SettingsPathThatIsAFolderGivesDefaultsAndStaysAFolder) {
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("pellix.ini")));
    host.MoveTo(QPoint(1, 2));
    settings->LoadSettings();
    EXPECT_EQ(host.Pos(), QPoint(1, 2));
    settings->StoreSettings();
    EXPECT_TRUE(QFileInfo(CfgPath()).isDir());
    EXPECT_TRUE(QDir(CfgPath()).isEmpty());
}

// ---- the Loading guard ----

TEST_F(SettingsFile, StoresMadeWhileLoadingDoNothing) {
    const QByteArray before = "[ZunMain]\nStayOnTop=0\nSound=0\n";
    WriteCfg(before);
    host.StoreWhenSet = true;
    settings->LoadSettings();
    EXPECT_FALSE(host.Values.StayOnTop); // the values did change
    EXPECT_EQ(CfgBytes(), before);       // but the store was suppressed
    EXPECT_EQ(host.LoadingAtSet, std::vector<bool>{true});
    EXPECT_FALSE(settings->Loading());

    host.Values.StayOnTop = true;
    settings->StoreSettings(); // after loading a store writes
    EXPECT_TRUE(CfgBytes().contains("\nStayOnTop=1\n"));
}

TEST_F(SettingsFile, LoadingEndsAlsoWhenTheWindowFails) {
    host.ThrowWhenSet = true;
    EXPECT_THROW(settings->LoadSettings(), std::runtime_error);
    EXPECT_FALSE(settings->Loading());
    settings->StoreSettings();
    EXPECT_TRUE(QFileInfo::exists(CfgPath()));
}

// ---- anything in the file ----

TEST_F(SettingsFile, LargeJunkFileIsReadAndKeptAroundOurSection) {
    QByteArray junk(10 * 1024 * 1024, '\0');
    auto* rng = QRandomGenerator::global();
    for (auto& b : junk)
        b = static_cast<char>(rng->bounded(256));
    junk.replace('[', '(');   // no section header can arise from the junk
    junk.replace('\n', '\r'); // lone CR line ends, which added lines take over
    junk[0] = 'x';            // no byte-order mark
    static constexpr char tail[] = "\n[ZunMain]\nZun.Stack[0]=\xff\xfe\nZun.Stack[1]=2.5\n"
                                   "\x00\x01\x02\n";
    const QByteArray nulLine("\x00\x01\x02\n", 4);
    WriteCfg(junk + QByteArray(tail, sizeof tail - 1));
    zun.Stack[0] = 7;
    settings->LoadSettings();
    EXPECT_EQ(zun.Stack[0], 7); // invalid UTF-8: the default, and the text stays
    EXPECT_EQ(zun.Stack[1], 2.5);

    settings->StoreSettings();
    const QByteArray after = CfgBytes();
    EXPECT_TRUE(after.startsWith(
        junk + "\n[ZunMain]\nZun.Stack[0]=\xff\xfe\nZun.Stack[1]=2.5\nLeft=427\r"));
    EXPECT_TRUE(after.endsWith("TotalScale=1\r" + nulLine)); // junk after the keys stays after them
}

TEST_F(SettingsFile, FileInAFolderWhoseNameIsNotUtf8IsReadAndWritten) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names are UTF-16, not bytes";
#endif
    const std::filesystem::path folder =
        std::filesystem::path(tmp.path().toStdString()) / "x\xff\xfe";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::filesystem::path exe = folder / "pellix.bin";
    EXPECT_EQ(CFGFileNameFor(exe), folder / "pellix.ini");
    TSettings bytes(TSettingsFiles(folder / "pellix.ini", {}), zun, host);
    bytes.SetDecimalSeparator(QStringLiteral("."));
    zun.Stack[0] = 42;
    bytes.StoreSettings();
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"pellix.ini"}) << "no temporary file is left";
    zun.Stack[0] = 0;
    bytes.LoadSettings();
    EXPECT_EQ(zun.Stack[0], 42);
}

// ---- where the file lies ----

struct CfgNameCase {
    const char* exe;
    const char* cfg;
    friend std::ostream& operator<<(std::ostream& os, const CfgNameCase& c) {
        return os << PrintableText(c.exe);
    }
};

class SettingsFileName : public ::testing::TestWithParam<CfgNameCase> {};

TEST_P(SettingsFileName, ReplacesTheExtension) {
    EXPECT_EQ(CFGFileNameFor(std::filesystem::path(GetParam().exe)),
              std::filesystem::path(GetParam().cfg));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SettingsFileName,
    ::testing::Values(CfgNameCase{"/opt/pellix/bin/pellix", "/opt/pellix/bin/pellix.ini"},
                      CfgNameCase{"C:/Pellix/Pellix.exe", "C:/Pellix/Pellix.ini"},
                      CfgNameCase{"/opt/my.app/pellix", "/opt/my.app/pellix.ini"},
                      CfgNameCase{"/opt/x/pellix.1.2", "/opt/x/pellix.1.ini"},
                      CfgNameCase{"/opt/x/.pellix", "/opt/x/.pellix.ini"}, CfgNameCase{"", ""}));

TEST(SettingsDefaultFileName, LiesBesideTheRunningExecutableWithTheConfigCopyAsFallback) {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const TSettingsFiles files = DefaultSettingsFiles();
    EXPECT_EQ(QString::fromStdString(files.File.string()), exe.absolutePath() + QLatin1Char('/') +
                                                               exe.completeBaseName() +
                                                               QStringLiteral(".ini"));
    EXPECT_EQ(files.Fallback.filename(), files.File.filename());
}

#ifndef _WIN32
// Started through the dynamic loader, the program is still itself (not the
// loader) for its settings file and sound module.
TEST(SettingsDefaultFileName, ProgramFileIsTheProgramsAlsoThroughTheLoader) {
    const QString loader = QStringLiteral("/lib64/ld-linux-x86-64.so.2");
    if (!QFileInfo::exists(loader))
        GTEST_SKIP() << "no x86-64 dynamic loader";
    const QFileInfo tool(QStringLiteral(PELLIX_STORE_LOOP));
    const QString self = tool.canonicalFilePath();
    const QString relative = QStringLiteral("./") + tool.fileName();
    for (const QStringList& command : {QStringList{self},
                                       {loader, self},
                                       {loader, QStringLiteral("--argv0"), loader, relative}}) {
        QProcess child;
        child.setWorkingDirectory(tool.absolutePath());
        child.start(command[0], command.mid(1) << QStringLiteral("--program-file"));
        ASSERT_TRUE(child.waitForFinished(20000)) << command.join(' ').toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(child.readAllStandardOutput().trimmed()), self)
            << command.join(' ').toStdString();
    }
}
#endif

// A program's folder with its settings file, a configuration folder for the
// copy, and a program's file in a folder that does not exist.
struct ConfigFolders {
    ConfigFolders() {
        std::filesystem::create_directories(beside.parent_path());
        std::filesystem::create_directories(config);
    }
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    const std::filesystem::path config = root / "config";
    const std::filesystem::path beside = root / "bin" / "pellix.ini";
    const std::filesystem::path copy = config / "pellix.ini";
    const std::filesystem::path missing = "/nonexistent/bin/pellix.ini";
};

// The copy in the configuration folder serves the program's file it was made
// for, and only where that file cannot be replaced.
TEST(SettingsDefaultFileName, ConfigCopyServesOnlyItsOwnUnwritableFile) {
    const ConfigFolders f;
    const auto& [config, beside, copy, missing] = std::tie(f.config, f.beside, f.copy, f.missing);
    const auto writeCopy = [&copy](const QByteArray& bytes) {
        ASSERT_TRUE(WriteFileBytes(QString::fromStdString(copy.string()), bytes));
    };
    // A copy from before copies named their file: the unwritable file's.
    writeCopy("[ZunMain]\n");
    EXPECT_EQ(SettingsFilesFor(missing, config).File, copy);
    EXPECT_EQ(SettingsFilesFor(missing, config).CopyOf, missing);
    EXPECT_EQ(SettingsFilesFor(beside, config).File, beside) << "a writable file keeps its own";
    const auto besideCopy = SettingsFilesFor(beside, config).Fallback;
    EXPECT_EQ(besideCopy.parent_path(), config);
    EXPECT_NE(besideCopy, copy);
    EXPECT_TRUE(besideCopy.filename().string().starts_with("pellix-")) << besideCopy;
    // A copy that names its file serves that one only.
    writeCopy("[ZunMain]\n[Pellix]\nCopyOf=" + QByteArray::fromStdString(beside.string()) + "\n");
    EXPECT_EQ(SettingsFilesFor(beside, config).File, beside);
    EXPECT_EQ(SettingsFilesFor(beside, config).Fallback, copy);
    EXPECT_EQ(SettingsFilesFor(missing, config).File.parent_path(), config);
    EXPECT_NE(SettingsFilesFor(missing, config).File, copy);
}

TEST(SettingsDefaultFileName, ConfigCopyWinsThenTheFileBesideWhereItCanBe) {
    const ConfigFolders f;
    const auto& [config, beside, copy, missing] = std::tie(f.config, f.beside, f.copy, f.missing);
    // A folder that does not exist cannot be written to, even by root.
    EXPECT_EQ(SettingsFilesFor(missing, config).File, copy);
    EXPECT_TRUE(SettingsFilesFor(missing, config).Fallback.empty());
    EXPECT_EQ(SettingsFilesFor(beside, config).File, beside) << "a writable folder keeps the file";
    EXPECT_EQ(SettingsFilesFor(beside, config).Fallback, copy);
    EXPECT_EQ(SettingsFilesFor(missing, {}).File, missing);
}

} // namespace
