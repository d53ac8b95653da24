// The termination signals (SIGTERM, SIGHUP, SIGINT) reach the event loop, and
// a real program ended by one stores its state first.

#include "ini/inifile.h"
#include "ini/ininotation.h"
#include "shell/platform/termination.h"
#include "shell/zunmain.h"
#include "waitfor.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <utility>

#include <signal.h>

using namespace pellix;

namespace {

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
    // The process's signal mask of the kind named ("SigCgt:", "SigIgn:").
    static qulonglong SignalMask(qint64 pid, const QByteArray& kind) {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith(kind)) {
                    return line.mid(kind.size()).trimmed().toULongLong(nullptr, 16);
                }
            }
        }
        return 0;
    }

    // Whether the process catches every termination signal yet.
    static bool CatchesAll(qint64 pid) {
        const qulonglong all =
            (1ULL << (SIGTERM - 1)) | (1ULL << (SIGHUP - 1)) | (1ULL << (SIGINT - 1));
        return (SignalMask(pid, "SigCgt:") & all) == all;
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
                "StayOnTop=0\r\nTotalScale=0.9\r\n");
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
        for (int sig : {SIGTERM, SIGHUP, SIGINT, SIGPIPE}) {
            ::signal(sig, SIG_DFL);
        }
    });
    pellix.start(exe, {});
    ASSERT_TRUE(pellix.waitForStarted());
    for (int i = 0; i < 400 && !CatchesAll(pellix.processId()); ++i) {
        QThread::msleep(50);
    }
    EXPECT_TRUE(CatchesAll(pellix.processId())) << "the signals keep their default action";
    // A closed pipe on stderr fails a write instead of killing the program unstored.
    EXPECT_NE(SignalMask(pellix.processId(), "SigIgn:") & (1ULL << (SIGPIPE - 1)), 0U);
    ::kill(static_cast<pid_t>(pellix.processId()), GetParam());
    ASSERT_TRUE(pellix.waitForFinished(30000));
    const double ended = CurrentDateTimeValue();
    EXPECT_EQ(pellix.exitStatus(), QProcess::NormalExit) << pellix.readAll().toStdString();
    EXPECT_EQ(pellix.exitCode(), 0);

    const auto doc = LoadIniFile(ini.toStdString());
    ASSERT_TRUE(doc.has_value());
    const auto stored = [&doc](const char* key) {
        return IniFloatOf(doc->ReadString("ZunMain", key).value_or(""), ".");
    };
    const double when = stored("lastShowAbout").value_or(0);
    EXPECT_GE(when, started - 1e-6);
    EXPECT_LE(when, ended + 1e-6);
    const std::pair<const char*, double> kept[] = {
        {"Left", 120},           {"Top", 90},         {"Zun.Mode", 1},        {"Zun.TrigMode", 2},
        {"Zun.FixLen", 3},       {"Sound", 0},        {"Zun.LastX", 2.5},     {"Zun.Stack[0]", 77},
        {"Zun.Stack[1]", -1.25}, {"Zun.Stack[2]", 0}, {"Zun.Reg[9]", 1e-300}, {"StayOnTop", 0},
        {"TotalScale", 0.9}};
    for (const auto& [key, value] : kept) {
        EXPECT_EQ(stored(key), value) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));
INSTANTIATE_TEST_SUITE_P(Signals, TerminatedProgram, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

} // namespace
