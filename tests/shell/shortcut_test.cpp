#include "settingsfakehost.h"
#include "settingsprint.h"
#include "shell/platform/desktoplauncher.h"
#include "shell/settings.h"
#include "shell/shortcut.h"
#include "waitfor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <vector>

using namespace pellix;
using namespace pellix::testing;

namespace {

const QString LinkName = QStringLiteral("Pellix");

// Runs desktop-file-validate on a file; nullopt when the tool is missing,
// else its verdict with its output.
std::optional<std::pair<bool, QString>> Validate(const QString& file) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, {file});
    if (!p.waitForFinished(30000))
        return std::make_pair(false, QStringLiteral("desktop-file-validate did not finish"));
    return std::make_pair(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                          QString::fromUtf8(p.readAll()));
}

#define EXPECT_VALID_LAUNCHER(file)                                                                \
    do {                                                                                           \
        const auto verdict = Validate(file);                                                       \
        if (!verdict)                                                                              \
            GTEST_SKIP()                                                                           \
                << "desktop-file-validate (Debian package desktop-file-utils) is missing";         \
        EXPECT_TRUE(verdict->first) << verdict->second.toStdString();                              \
    } while (false)

// The value of a key of the launcher's text, as written (still escaped).
QString RawValue(const QByteArray& text, const char* key) {
    for (const QByteArray& line : text.split('\n'))
        if (line.startsWith(QByteArray(key) + '='))
            return QString::fromUtf8(line.mid(qstrlen(key) + 1));
    return {};
}

// Installed under the program's reverse-DNS id, which the metainfo and the
// running program's desktop file name share.
TEST(InstalledDesktopEntry, IsAValidLauncherOfTheInstalledProgram) {
    const QString entry =
        QStringLiteral(PELLIX_SOURCE_DIR "/resources/linux/" PELLIX_APP_ID ".desktop");
    EXPECT_VALID_LAUNCHER(entry);
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_EQ(RawValue(text, "Exec"), QStringLiteral("pellix"));
    EXPECT_EQ(RawValue(text, "Icon"), QStringLiteral("pellix"));
}

class ShortcutFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("Desktop")));
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("prefix/bin")));
        target = tmp.filePath(QStringLiteral("prefix/bin/pellix"));
        desktop = tmp.filePath(QStringLiteral("Desktop"));
        launcher = desktop + QStringLiteral("/Pellix.desktop");
    }

    QStringList DesktopEntries() const {
        return QDir(desktop).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir tmp;
    QString target;
    QString desktop;
    QString launcher;
    TFakeSettingsHost host;
};

// ---- the menu item ----

TEST_F(ShortcutFolder, ShowOnDesktopCreatesAValidLauncherAndRemovesItAgain) {
    if (QIcon::hasThemeIcon(QStringLiteral("pellix")))
        GTEST_SKIP() << "an installed pellix theme icon would add an Icon key";
    ShowOnDesktopClick(host.CheckMark(), target, desktop);
    EXPECT_EQ(host.Checked, true);
    ASSERT_TRUE(ShortcutExists(LinkName, desktop));
    EXPECT_EQ(DesktopEntries(), QStringList{QStringLiteral("Pellix.desktop")});

    const QByteArray text = ReadFileBytes(launcher);
    const QString binFolder = tmp.filePath(QStringLiteral("prefix/bin"));
    EXPECT_EQ(QString::fromUtf8(text),
              QStringLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Pellix\n"
                             "Comment=Pellix\\nhttp://www.pellix.example/\n"
                             "Exec=\"") +
                  target + QStringLiteral("\"\nPath=") + binFolder + QLatin1Char('\n'));
    const auto perms = QFile::permissions(launcher);
    EXPECT_TRUE(perms & QFile::ExeOwner);
    EXPECT_TRUE(perms & QFile::ReadOwner);
    EXPECT_VALID_LAUNCHER(launcher);

    ShowOnDesktopClick(host.CheckMark(), target, desktop);
    EXPECT_EQ(host.Checked, false);
    EXPECT_FALSE(ShortcutExists(LinkName, desktop));
    EXPECT_TRUE(DesktopEntries().isEmpty());
}

TEST_F(ShortcutFolder, LauncherPointingElsewhereIsDeletedThenOursIsCreated) {
    const QByteArray foreign =
        "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/other\n";
    ASSERT_TRUE(WriteFileBytes(launcher, foreign));
    ShowOnDesktopClick(host.CheckMark(), target, desktop);
    EXPECT_EQ(host.Checked, false);
    EXPECT_FALSE(QFileInfo::exists(launcher));

    ShowOnDesktopClick(host.CheckMark(), target, desktop);
    EXPECT_EQ(host.Checked, true);
    EXPECT_EQ(RawValue(ReadFileBytes(launcher), "Exec"),
              QLatin1Char('"') + target + QLatin1Char('"'));
}

TEST_F(ShortcutFolder, LinkNamedLikeTheLauncherIsRemovedButNotWhatItPointsTo) {
    const QString elsewhere = tmp.filePath(QStringLiteral("elsewhere.desktop"));
    ASSERT_TRUE(WriteFileBytes(elsewhere, "keep me"));
    ASSERT_TRUE(QFile::link(elsewhere, launcher));
    EXPECT_TRUE(ShortcutExists(LinkName, desktop));
    ToggleShortcut(target, LinkName, ShortcutDescription(), desktop);
    EXPECT_FALSE(ShortcutExists(LinkName, desktop));
    EXPECT_EQ(ReadFileBytes(elsewhere), "keep me");
}

TEST_F(ShortcutFolder, FolderNamedLikeTheLauncherIsNeitherAShortcutNorTouched) {
    ASSERT_TRUE(QDir(desktop).mkpath(QStringLiteral("Pellix.desktop/inner")));
    EXPECT_FALSE(ShortcutExists(LinkName, desktop));
    ShowOnDesktopClick(host.CheckMark(), target, desktop);
    EXPECT_EQ(host.Checked, false);
    EXPECT_TRUE(QFileInfo::exists(launcher + QStringLiteral("/inner")));
    EXPECT_EQ(DesktopEntries(), QStringList{QStringLiteral("Pellix.desktop")}); // no temp file left
}

// ---- a desktop folder that cannot take the launcher ----

TEST_F(ShortcutFolder, MissingDesktopFolderIsNotCreated) {
    const QString missing = tmp.filePath(QStringLiteral("NoDesktop"));
    ShowOnDesktopClick(host.CheckMark(), target, missing);
    EXPECT_EQ(host.Checked, false);
    EXPECT_FALSE(QFileInfo::exists(missing));
    host.Values.LastShowAbout = -1;
    host.Checked = ShortcutAtStart(host.Values.LastShowAbout, target, missing);
    EXPECT_EQ(host.Checked, false);
}

TEST_F(ShortcutFolder, DesktopPathThatIsAFileStaysAsItIs) {
    const QString file = tmp.filePath(QStringLiteral("DesktopFile"));
    ASSERT_TRUE(WriteFileBytes(file, "data"));
    ShowOnDesktopClick(host.CheckMark(), target, file);
    EXPECT_EQ(host.Checked, false);
    EXPECT_EQ(ReadFileBytes(file), "data");
}

TEST_F(ShortcutFolder, EmptyFolderNameTouchesNeitherTheCurrentNorTheRootFolder) {
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(desktop));
    const bool rootHadOne = QFileInfo::exists(QStringLiteral("/Pellix.desktop"));
    ShowOnDesktopClick(host.CheckMark(), target, QString());
    QDir::setCurrent(cwd);
    EXPECT_EQ(host.Checked, false);
    EXPECT_TRUE(DesktopEntries().isEmpty());
    EXPECT_EQ(QFileInfo::exists(QStringLiteral("/Pellix.desktop")), rootHadOne);
    EXPECT_TRUE(ShortcutFileName(LinkName, QString()).isEmpty());
}

// ---- start-up: place the shortcut at a first run, never remove one ----

struct StartCase {
    double lastShowAbout;
    const char* before; // nullptr: no launcher on the desktop
    bool firstRunCreates;
    friend std::ostream& operator<<(std::ostream& os, const StartCase& c) {
        return os << "lastShowAbout " << c.lastShowAbout << " with " << PrintableText(c.before);
    }
};

class ShortcutAtStartUp : public ShortcutFolder, public ::testing::WithParamInterface<StartCase> {};

TEST_P(ShortcutAtStartUp, PlacesOnlyAMissingShortcutAtAFirstRun) {
    const StartCase c = GetParam();
    if (c.before) {
        ASSERT_TRUE(WriteFileBytes(launcher, c.before));
    }
    host.Values.LastShowAbout = c.lastShowAbout;
    host.Checked = ShortcutAtStart(host.Values.LastShowAbout, target, desktop);

    const bool expectThere = c.before || c.firstRunCreates;
    EXPECT_EQ(host.Checked, expectThere);
    EXPECT_EQ(QFileInfo::exists(launcher), expectThere);
    if (c.before) {
        EXPECT_EQ(ReadFileBytes(launcher), QByteArray(c.before)); // never replaced, never removed
    } else if (c.firstRunCreates) {
        EXPECT_EQ(RawValue(ReadFileBytes(launcher), "Exec"),
                  QLatin1Char('"') + target + QLatin1Char('"'));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ShortcutAtStartUp,
                         ::testing::Values(StartCase{-1, nullptr, true},
                                           StartCase{-1, "[Desktop Entry]\nExec=/other\n", false},
                                           StartCase{45000.5, nullptr, false},
                                           StartCase{45000.5, "[Desktop Entry]\n", false},
                                           StartCase{-1.5, nullptr, false}));

// The first-run rule through the settings file, over several starts.
class ShortcutFirstRun : public ShortcutFolder {
protected:
    // One start of the program up to the shortcut step; the store is optional.
    void Start(bool storeAtEnd) {
        TZunCalc zun(1);
        host = TFakeSettingsHost();
        TSettings settings(cfg(), zun, host);
        settings.SetDecimalSeparator(QStringLiteral("."));
        settings.LoadSettings();
        host.Checked = ShortcutAtStart(host.Values.LastShowAbout, target, desktop);
        host.Values.LastShowAbout = 45000.5; // the start time the window records
        if (storeAtEnd)
            settings.StoreSettings();
    }
    QString cfg() const { return tmp.filePath(QStringLiteral("pellix.ini")); }
};

TEST_F(ShortcutFirstRun, RunEndingWithoutStoreKeepsItsShortcutAtTheNextStart) {
    Start(false);
    EXPECT_EQ(host.Checked, true);
    Start(false); // again a first run: the shortcut it placed stays
    EXPECT_EQ(host.Checked, true);
    EXPECT_TRUE(ShortcutExists(LinkName, desktop));
}

TEST_F(ShortcutFirstRun, ShortcutRemovedByHandIsNotPlacedAgainAfterAStore) {
    Start(true);
    ASSERT_TRUE(QFile::remove(launcher));
    Start(true);
    EXPECT_EQ(host.Checked, false);
    EXPECT_FALSE(ShortcutExists(LinkName, desktop));
}

struct MarkCase {
    const char* line; // a line of section "ZunMain"
    bool firstRun;
    friend std::ostream& operator<<(std::ostream& os, const MarkCase& c) {
        return os << PrintableText(c.line);
    }
};

class ShortcutFirstRunMark : public ShortcutFirstRun,
                             public ::testing::WithParamInterface<MarkCase> {};

TEST_P(ShortcutFirstRunMark, StoredStartTimeDecidesTheFirstRun) {
    ASSERT_TRUE(WriteFileBytes(cfg(), QByteArray("[ZunMain]\n") + GetParam().line + "\n"));
    Start(false);
    EXPECT_EQ(ShortcutExists(LinkName, desktop), GetParam().firstRun);
}

INSTANTIATE_TEST_SUITE_P(Lines, ShortcutFirstRunMark,
                         ::testing::Values(MarkCase{"Other=1", true},
                                           MarkCase{"lastShowAbout=-1", true},
                                           MarkCase{"lastShowAbout=junk", true},
                                           MarkCase{"lastShowAbout=0", false},
                                           MarkCase{"lastShowAbout=-1.5", false}));

// ---- the launcher's text ----

struct ExecCase {
    const char* program;
    const char* exec; // the Exec value as written
    friend std::ostream& operator<<(std::ostream& os, const ExecCase& c) {
        return os << PrintableText(c.program);
    }
};

class ShortcutExec : public ShortcutFolder, public ::testing::WithParamInterface<ExecCase> {};

TEST_P(ShortcutExec, QuotesTheProgramAndTheLauncherIsValid) {
    const QString program = QString::fromUtf8(GetParam().program);
    EXPECT_EQ(DesktopExecValue(program), QString::fromUtf8(GetParam().exec));
    ToggleShortcut(program, LinkName, ShortcutDescription(), desktop);
    ASSERT_TRUE(ShortcutExists(LinkName, desktop));
    EXPECT_EQ(RawValue(ReadFileBytes(launcher), "Exec"), QString::fromUtf8(GetParam().exec));
    EXPECT_VALID_LAUNCHER(launcher);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ShortcutExec,
    ::testing::Values(ExecCase{"/usr/bin/pellix", R"("/usr/bin/pellix")"},
                      ExecCase{"/opt/Pellix Calc/pellix", R"("/opt/Pellix Calc/pellix")"},
                      ExecCase{"/tmp/a$b/pellix", R"("/tmp/a\\$b/pellix")"},
                      ExecCase{"/tmp/back\\slash/pellix", R"("/tmp/back\\\\slash/pellix")"},
                      ExecCase{"/tmp/q\"uote/pellix", R"("/tmp/q\\"uote/pellix")"},
                      ExecCase{"/tmp/tick`/pellix", R"("/tmp/tick\\`/pellix")"},
                      ExecCase{"/100%/pellix", R"(sh -c "exec \\"\\$0\\"" "/100%%/pellix")"},
                      ExecCase{"/tmp/s;a&p|l<g>(x)*?#~'=/pellix",
                               R"("/tmp/s;a&p|l<g>(x)*?#~'=/pellix")"},
                      ExecCase{"/tmp/tab\there/pellix", R"("/tmp/tab\there/pellix")"},
                      ExecCase{"/tmp/\xc3\xbc ber/\xcf\x80", "\"/tmp/\xc3\xbc ber/\xcf\x80\""},
                      ExecCase{"/tmp/ x /pellix ", R"("/tmp/ x /pellix ")"}));

// GLib's own launcher (GNOME's, Xfce's, gio's; here without display, session
// bus or the user's home) starts the program.
class ShortcutLaunch : public ShortcutFolder, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShortcutLaunch, GioStartsTheProgram) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        GTEST_SKIP() << "gio (Debian package libglib2.0-bin) is missing";
    const QString folder = tmp.filePath(QString::fromUtf8(GetParam()));
    const QString ran = tmp.filePath(QStringLiteral("ran"));
    QFile program(folder + QStringLiteral("/pellix"));
    ASSERT_TRUE(QDir().mkpath(folder) && program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\ntouch '" + ran.toUtf8() + "'\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    ToggleShortcut(program.fileName(), LinkName, ShortcutDescription(), desktop);
    EXPECT_EQ(QProcess::execute(QStringLiteral("env"),
                                {QStringLiteral("-i"), QStringLiteral("HOME=") + tmp.path(),
                                 QStringLiteral("PATH=") + qEnvironmentVariable("PATH"), gio,
                                 QStringLiteral("launch"), launcher}),
              0);
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(ran); }, std::chrono::seconds(30)));
}

INSTANTIATE_TEST_SUITE_P(Folders, ShortcutLaunch,
                         ::testing::Values("Pellix Calc", "100%", "50% a=b", "q\"u$o\\te%`x`"));

struct StringCase {
    const char* text;
    const char* value;
    friend std::ostream& operator<<(std::ostream& os, const StringCase& c) {
        return os << PrintableText(c.text);
    }
};

class ShortcutStringValue : public ::testing::TestWithParam<StringCase> {};

TEST_P(ShortcutStringValue, Escapes) {
    EXPECT_EQ(DesktopStringValue(QString::fromUtf8(GetParam().text)),
              QString::fromUtf8(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShortcutStringValue,
    ::testing::Values(StringCase{"a\r\nb", R"(a\r\nb)"}, StringCase{"C:\\dir", R"(C:\\dir)"},
                      StringCase{" lead and trail ", R"(\slead and trail\s)"}));

TEST_F(ShortcutFolder, PathKeyNamesTheProgramsFolderEscaped) {
    const QString odd = tmp.filePath(QStringLiteral("a\\b c/pellix"));
    ToggleShortcut(odd, LinkName, ShortcutDescription(), desktop);
    EXPECT_EQ(RawValue(ReadFileBytes(launcher), "Path"), tmp.path() + QStringLiteral("/a\\\\b c"));
}

class ShortcutUnwritablePath : public ShortcutFolder,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(ShortcutUnwritablePath, WritesNoLauncherAndSaysWhyOnStderr) {
    const QString program = QFile::decodeName(QByteArray(GetParam()));
    EXPECT_FALSE(LauncherPathProblem(program).isEmpty());
    // stderr goes to a file of the test's own for the call.
    const QString errFile = tmp.filePath(QStringLiteral("stderr.txt"));
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int fd = ::open(QFile::encodeName(errFile).constData(), O_WRONLY | O_CREAT, 0600);
    ::dup2(fd, 2);
    ::close(fd);
    ToggleShortcut(program, LinkName, ShortcutDescription(), desktop);
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    EXPECT_FALSE(ShortcutExists(LinkName, desktop));
    const QByteArray err = ReadFileBytes(errFile);
    EXPECT_TRUE(err.startsWith("pellix: no desktop launcher written: ")) << err.constData();
    EXPECT_EQ(err.count('\n'), 1);
}

INSTANTIATE_TEST_SUITE_P(Programs, ShortcutUnwritablePath,
                         ::testing::Values("/tmp/x\xff\xfe/pellix", "/opt/\xc3(/pellix",
                                           "/tmp/bell\a/pellix", "/tmp/del\x7f/pellix", ""));

TEST_F(ShortcutFolder, ValidPathsHaveNoProblem) {
    EXPECT_TRUE(LauncherPathProblem(target).isEmpty());
    EXPECT_TRUE(LauncherPathProblem(QStringLiteral("/tmp/tab\there/\u00fc")).isEmpty());
}

// ---- the icon ----

struct IconCase {
    std::vector<const char*> files; // under the prefix; a trailing '/' makes a folder
    const char* icon;               // relative to the prefix; "" for none
    friend std::ostream& operator<<(std::ostream& os, const IconCase& c) {
        for (const char* f : c.files)
            os << f << " ";
        return os << "gives " << PrintableText(c.icon);
    }
};

class ShortcutIcon : public ShortcutFolder, public ::testing::WithParamInterface<IconCase> {};

TEST_P(ShortcutIcon, NamesTheIconInstalledBesideTheProgram) {
    if (QIcon::hasThemeIcon(QStringLiteral("pellix")))
        GTEST_SKIP() << "an installed pellix theme icon is found first when none lies beside";
    const QDir prefix(tmp.filePath(QStringLiteral("prefix")));
    for (const char* f : GetParam().files) {
        const QString rel = QString::fromUtf8(f);
        if (rel.endsWith(QLatin1Char('/'))) {
            ASSERT_TRUE(prefix.mkpath(rel));
        } else {
            ASSERT_TRUE(prefix.mkpath(QFileInfo(rel).path()));
            ASSERT_TRUE(WriteFileBytes(prefix.filePath(rel), "icon"));
        }
    }
    const QString expected =
        *GetParam().icon ? prefix.filePath(QString::fromUtf8(GetParam().icon)) : QString();
    EXPECT_EQ(InstalledIcon(target), expected);

    ToggleShortcut(target, LinkName, ShortcutDescription(), desktop);
    const QByteArray text = ReadFileBytes(launcher);
    EXPECT_EQ(text.contains("\nIcon="), !expected.isEmpty());
    EXPECT_EQ(RawValue(text, "Icon"), expected);
    EXPECT_VALID_LAUNCHER(launcher);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ShortcutIcon,
    ::testing::Values(IconCase{{}, ""},
                      IconCase{{"share/icons/hicolor/scalable/apps/pellix.svg",
                                "share/icons/hicolor/48x48/apps/pellix.png"},
                               "share/icons/hicolor/scalable/apps/pellix.svg"},
                      IconCase{
                          {"share/icons/hicolor/48x48/apps/pellix.png", "share/pixmaps/pellix.png"},
                          "share/icons/hicolor/48x48/apps/pellix.png"},
                      IconCase{{"share/pixmaps/pellix.png"}, "share/pixmaps/pellix.png"},
                      IconCase{{"share/icons/hicolor/scalable/apps/pellix.svg/"}, ""},
                      IconCase{{"share/icons/hicolor/scalable/apps/other.svg"}, ""}));

} // namespace
