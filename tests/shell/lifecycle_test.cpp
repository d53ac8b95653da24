// Every orderly end of the program stores its state exactly once: the close
// key, the menu's Close, a typed Q, the window manager's close, the
// application quitting, and the termination signals of a real process.

#include "inifile.h"
#include "termination.h"
#include "zunmain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <ostream>

using namespace pellix;

namespace {

class SilentPlayer : public IClickPlayer {
public:
    void Play() override {}
};

// Runs the application's event loop with `action` as its first step, until
// the loop ends, or at the latest after 10 s.
void RunLoopWith(const std::function<void()>& action) {
    QTimer latest;
    latest.setSingleShot(true);
    QObject::connect(&latest, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    latest.start(10000);
    QTimer::singleShot(0, qApp, action);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "the loop did not end by itself";
}

struct EndCase {
    const char* name;
    std::function<void(TZunMain&)> end;
    friend std::ostream& operator<<(std::ostream& os, const EndCase& c) { return os << c.name; }
};

class EndOfRun : public ::testing::TestWithParam<EndCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        TShellEnvironment env;
        env.SettingsFile = dir.filePath(QStringLiteral("pellix.ini"));
        env.DesktopFolder = dir.filePath(QStringLiteral("Desktop"));
        env.ExecutablePath = QCoreApplication::applicationFilePath();
        env.Player = std::make_unique<SilentPlayer>();
        env.Regional = Separators{".", ","};
        w = std::make_unique<TZunMain>(std::move(env));
        w->Settings().SetSaveHooks(
            {[this](const std::filesystem::path& temp, const std::filesystem::path& target) {
                ++stores;
                std::error_code ec;
                std::filesystem::rename(temp, target, ec);
                return ec;
            }});
        w->show();
    }

    QTemporaryDir dir;
    std::unique_ptr<TZunMain> w;
    int stores = 0;
};

TEST_P(EndOfRun, StoresTheStateOnce) {
    for (const char* key : {"im7", "im7", "imEnter", "im5", "imAdd"}) {
        THotSpot* spot = w->HotSpot(key);
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
    }
    const int before = stores; // the first run's shortcut stores nothing
    RunLoopWith([this] { GetParam().end(*w); });
    EXPECT_EQ(stores - before, 1);
    const auto doc = LoadIniFile(dir.filePath(QStringLiteral("pellix.ini")).toStdString());
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->ReadFloat("ZunMain", "Zun.Stack[0]", 0, "."), 82);
    EXPECT_EQ(doc->ReadFloat("ZunMain", "Zun.LastX", 0, "."), 5);
}

void ClickOn(TZunMain& w) {
    THotSpot* spot = w.HotSpot("imClose");
    QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndOfRun,
    ::testing::Values(
        EndCase{"CloseKey", ClickOn},
        EndCase{"CloseMenuItem",
                [](TZunMain& w) {
                    w.PopupMenu()->findChild<QAction*>(QStringLiteral("Close1"))->trigger();
                }},
        EndCase{"TypedQ", [](TZunMain& w) { QTest::keyClick(&w, Qt::Key_Q); }},
        EndCase{"WindowManagerClose", [](TZunMain& w) { w.close(); }},
        EndCase{"ApplicationQuit", [](TZunMain&) { QCoreApplication::quit(); }},
        // What a termination request and the end of a Windows session do.
        EndCase{"EventLoopEnds", [](TZunMain&) { QCoreApplication::exit(0); }}));

TEST_F(EndOfRun, AWindowShownAgainStoresAtItsNextEnd) {
    w->close();
    w->show();
    RunLoopWith([this] { w->close(); });
    EXPECT_EQ(stores, 2);
}

#ifndef _WIN32

class TerminationSignal : public ::testing::TestWithParam<int> {};

TEST_P(TerminationSignal, ReachesTheLoopAndTheEarlierHandlerComesBack) {
    const int sig = GetParam();
    // Whatever this test process inherited (a background job ignores SIGINT).
    struct sigaction before = {};
    before.sa_handler = SIG_DFL;
    struct sigaction inherited = {};
    ASSERT_EQ(::sigaction(sig, &before, &inherited), 0);
    int seen = 0;
    {
        TTerminationRequests requests([&](int number) {
            seen = number;
            QCoreApplication::exit(0);
        });
        RunLoopWith([sig] { ::raise(sig); });
    }
    EXPECT_EQ(seen, sig);
    struct sigaction after = {};
    ASSERT_EQ(::sigaction(sig, &inherited, &after), 0);
    EXPECT_EQ(after.sa_handler, SIG_DFL);
}

TEST_P(TerminationSignal, AnIgnoredSignalStaysIgnored) {
    const int sig = GetParam();
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before = {};
    ASSERT_EQ(::sigaction(sig, &ignore, &before), 0);
    int seen = 0;
    {
        TTerminationRequests requests([&](int number) { seen = number; });
        ::raise(sig);
        QTest::qWait(50);
    }
    EXPECT_EQ(seen, 0);
    struct sigaction after = {};
    ::sigaction(sig, &before, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
}

// A real pellix, started with a settings file beside its own copy, ended by
// a signal: it leaves the file with the state it had, and the time of this
// start, which only a store writes.
class TerminatedProgram : public ::testing::TestWithParam<int> {
protected:
    // Whether the process catches every termination signal yet.
    static bool CatchesAll(qint64 pid) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly)) {
            return false;
        }
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("SigCgt:")) {
                const qulonglong caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
                const qulonglong all =
                    (1ULL << (SIGTERM - 1)) | (1ULL << (SIGHUP - 1)) | (1ULL << (SIGINT - 1));
                return (caught & all) == all;
            }
        }
        return false;
    }
};

TEST_P(TerminatedProgram, StoresItsStateBeforeItEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString exe = dir.filePath(QStringLiteral("pellix"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PELLIX_PROGRAM), exe));
    const QString ini = dir.filePath(QStringLiteral("pellix.ini"));
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[ZunMain]\r\nLeft=120\r\nTop=90\r\nZun.Mode=1\r\nZun.TrigMode=2\r\n"
                "Zun.FixLen=3\r\nSound=0\r\nZun.LastX=2.5\r\nZun.Stack[0]=77\r\n"
                "Zun.Stack[1]=-1.25\r\nZun.Reg[9]=1E-300\r\nlastShowAbout=1\r\n"
                "StayOnTop=0\r\nTotalScale=1.1\r\n");
    }
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString run = dir.filePath(QStringLiteral("run"));
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(run));
    QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

    const double started = CurrentDateTimeValue();
    QProcess pellix;
    pellix.setProcessEnvironment(env);
    pellix.setProcessChannelMode(QProcess::MergedChannels);
    pellix.setChildProcessModifier([] { // as started from a desktop, not as a background job
        for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
            ::signal(sig, SIG_DFL);
        }
    });
    pellix.start(exe, {});
    ASSERT_TRUE(pellix.waitForStarted());
    for (int i = 0; i < 400 && !CatchesAll(pellix.processId()); ++i) {
        QThread::msleep(50);
    }
    EXPECT_TRUE(CatchesAll(pellix.processId())) << "the signals keep their default action";
    ::kill(static_cast<pid_t>(pellix.processId()), GetParam());
    ASSERT_TRUE(pellix.waitForFinished(30000));
    const double ended = CurrentDateTimeValue();
    EXPECT_EQ(pellix.exitStatus(), QProcess::NormalExit) << pellix.readAll().toStdString();
    EXPECT_EQ(pellix.exitCode(), 0);

    const auto doc = LoadIniFile(ini.toStdString());
    ASSERT_TRUE(doc.has_value());
    const double when = doc->ReadFloat("ZunMain", "lastShowAbout", 0, ".");
    EXPECT_GE(when, started - 1e-6);
    EXPECT_LE(when, ended + 1e-6);
    const std::pair<const char*, double> kept[] = {
        {"Left", 120},           {"Top", 90},         {"Zun.Mode", 1},        {"Zun.TrigMode", 2},
        {"Zun.FixLen", 3},       {"Sound", 0},        {"Zun.LastX", 2.5},     {"Zun.Stack[0]", 77},
        {"Zun.Stack[1]", -1.25}, {"Zun.Stack[2]", 0}, {"Zun.Reg[9]", 1e-300}, {"StayOnTop", 0},
        {"TotalScale", 1.1}};
    for (const auto& [key, value] : kept) {
        EXPECT_EQ(doc->ReadFloat("ZunMain", key, -99, "."), value) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));
INSTANTIATE_TEST_SUITE_P(Signals, TerminatedProgram, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

#endif

} // namespace
