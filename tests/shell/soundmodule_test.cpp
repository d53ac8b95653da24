#include "shell/beepthread.h"
#include "shell/soundmodule.h"
#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"
#include "waitfor.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

using namespace pellix;
using namespace std::chrono_literals;

namespace {

// Whether the process has this file loaded, asked without loading it.
bool IsLoaded(const QString& path) {
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        dlclose(handle);
    }
    return handle != nullptr;
}

enum class Kind { Missing, Garbage, Fake, FakeNote, NoEntry };

// Each test works on copies of the modules in its own folder: files this
// process has not loaded before, with fresh counters.
class SoundModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Place(Kind kind) {
        const QString path = dir.filePath(QStringLiteral("module%1.so").arg(++placed));
        switch (kind) {
        case Kind::Missing:
            break;
        case Kind::Garbage: {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("not a shared object\n");
            break;
        }
        case Kind::Fake:
            EXPECT_TRUE(QFile::copy(QStringLiteral(PELLIX_FAKE_SOUND), path));
            break;
        case Kind::FakeNote:
            EXPECT_TRUE(QFile::copy(QStringLiteral(PELLIX_FAKE_SOUND_NOTE), path));
            break;
        case Kind::NoEntry:
            EXPECT_TRUE(QFile::copy(QStringLiteral(PELLIX_FAKE_SOUND_NOENTRY), path));
            break;
        }
        return path;
    }

    std::unique_ptr<TModuleClickPlayer> Player(const QStringList& candidates) {
        return std::make_unique<TModuleClickPlayer>(candidates, [this](const QString& line) {
            std::lock_guard lock(mutex);
            messages << line;
        });
    }

    // A counter of a fake module that is loaded: its plays or its players made.
    static int Count(const QString& path, const char* counter) {
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
        if (handle == nullptr) {
            return 0;
        }
        const auto count = reinterpret_cast<int (*)()>(dlsym(handle, counter));
        const int n = count != nullptr ? count() : -1;
        dlclose(handle);
        return n;
    }
    static int Plays(const QString& path) { return Count(path, "FakeSoundPlays"); }

    QStringList Messages() {
        std::lock_guard lock(mutex);
        return messages;
    }

    QTemporaryDir dir;
    int placed = 0;
    std::mutex mutex;
    QStringList messages;
};

struct LoadCase {
    const char* name;
    std::vector<Kind> candidates;
    bool sounds;
    const char* message; // part of the one message; null: none
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class ModuleLoad : public SoundModule, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(ModuleLoad, ClicksOrOneMessageAndSilence) {
    const LoadCase& c = GetParam();
    QStringList candidates;
    for (Kind k : c.candidates) {
        candidates << Place(k);
    }
    const QString played = candidates.back();
    TBeepThread worker(Player(candidates));
    for (int i = 1; i <= 3; ++i) {
        worker.Beep();
        if (c.sounds) {
            ASSERT_TRUE(WaitFor([&] { return Plays(played) == i; })) << "click " << i;
        } else {
            ASSERT_TRUE(WaitFor([&] { return !Messages().isEmpty(); }));
        }
    }
    std::this_thread::sleep_for(50ms);
    worker.Stop();
    const QStringList lines = Messages();
    if (c.message == nullptr) {
        EXPECT_TRUE(lines.isEmpty()) << lines.join(QLatin1Char('\n')).toStdString();
    } else {
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].startsWith(QLatin1String("pellix: key clicks are silent: ")));
        EXPECT_TRUE(lines[0].contains(QLatin1String(c.message))) << lines[0].toStdString();
        EXPECT_FALSE(lines[0].contains(QLatin1Char('\n')));
    }
    EXPECT_EQ(Plays(played), c.sounds ? 3 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModuleLoad,
    ::testing::Values(
        LoadCase{"Present", {Kind::Fake}, true, nullptr},
        LoadCase{"InstalledNotBesideTheProgram", {Kind::Missing, Kind::Fake}, true, nullptr},
        LoadCase{"BrokenBesideGoodInstalled", {Kind::Garbage, Kind::Fake}, true, nullptr},
        LoadCase{"NoOutputDevice", {Kind::FakeNote}, true, "no audio output device"},
        LoadCase{"Missing", {Kind::Missing, Kind::Missing}, false, "no sound module at "},
        LoadCase{"NotALibrary", {Kind::Garbage}, false, "module1.so"},
        LoadCase{"NoEntryPoint", {Kind::NoEntry}, false, "PellixCreateClickPlayer"}),
    [](const ::testing::TestParamInfo<LoadCase>& p) { return p.param.name; });

TEST_F(SoundModule, LoadedOnceByTheWorkerNeverByConstruction) {
    const QString path = Place(Kind::Fake);
    TBeepThread worker(Player({path}));
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(IsLoaded(path));
    worker.Prepare();
    ASSERT_TRUE(WaitFor([&] { return IsLoaded(path); }));
    worker.Prepare();
    worker.Beep();
    ASSERT_TRUE(WaitFor([&] { return Plays(path) == 1; }));
    worker.Stop();
    EXPECT_EQ(Count(path, "FakeSoundPlayers"), 1);
}

// The real module with no sound server to answer: it plays on ALSA's default
// output (here a file of ALSA's own writing), or says once why it is silent,
// and never brings Qt Multimedia or Qt Network along.
struct AlsaCase {
    const char* name;
    const char* defaultPcm; // %1: the file the "file" plugin writes
    bool written;
    std::vector<const char*> message; // parts of the one message
};

void PrintTo(const AlsaCase& c, std::ostream* os) {
    *os << c.name;
}

class RealModule : public SoundModule, public ::testing::WithParamInterface<AlsaCase> {
protected:
    void SetUp() override {
        SoundModule::SetUp();
        const QString conf = dir.filePath(QStringLiteral("asound.conf"));
        QFile f(conf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("pcm.!default " +
                QString::fromLatin1(GetParam().defaultPcm).replace("%1", Output()).toUtf8() + "\n");
        f.close();
        qputenv("ALSA_CONFIG_PATH", conf.toLocal8Bit());
        qputenv("PULSE_SERVER", "unix:" + dir.filePath("none").toLocal8Bit());
    }
    // Neither is set where the suite runs.
    void TearDown() override {
        qunsetenv("ALSA_CONFIG_PATH");
        qunsetenv("PULSE_SERVER");
    }
    QString Output() const { return dir.filePath(QStringLiteral("out.raw")); }
};

TEST_P(RealModule, PlaysOnAlsaOrSaysOnceWhySilent) {
    const AlsaCase& c = GetParam();
    TBeepThread worker(Player({QStringLiteral(PELLIX_SOUND_MODULE)}));
    worker.Beep();
    ASSERT_TRUE(WaitFor([&] { return IsLoaded(QStringLiteral(PELLIX_SOUND_MODULE)); }));
    const QByteArray wave = ClickWaveFile();
    const QByteArray click = wave.right(2752); // the data chunk ends the file
    if (c.written) {
        ASSERT_TRUE(WaitFor([&] { return QFileInfo(Output()).size() >= click.size(); }));
    } else {
        ASSERT_TRUE(WaitFor([&] { return !Messages().isEmpty(); }));
    }
    const auto start = std::chrono::steady_clock::now();
    worker.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    if (c.written) {
        QFile out(Output());
        ASSERT_TRUE(out.open(QIODevice::ReadOnly));
        EXPECT_TRUE(out.readAll().startsWith(click)) << "the click's own samples";
        EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('\n')).toStdString();
    } else {
        ASSERT_EQ(Messages().size(), 1);
        for (const char* part : c.message) {
            EXPECT_TRUE(Messages()[0].contains(QLatin1String(part))) << Messages()[0].toStdString();
        }
    }
    for (const char* qt : {"libQt6Multimedia.so.6", "libQt6Network.so.6"}) {
        EXPECT_FALSE(IsLoaded(QLatin1String(qt))) << qt;
    }
}

INSTANTIATE_TEST_SUITE_P(
    NoServer, RealModule,
    ::testing::Values(AlsaCase{"DefaultIsAFile",
                               R"({ type file slave.pcm { type null } file "%1" format raw })",
                               true,
                               {}},
                      AlsaCase{"NoDevice",
                               "{ type hw card 99 }",
                               false,
                               {"key clicks are silent: no sound server answers",
                                "ALSA's default output does not open"}}),
    [](const ::testing::TestParamInfo<AlsaCase>& p) { return p.param.name; });

// The window with the module player: loaded after the first paint when the
// sound is on, never while it is off, and the first key click is heard.
class WindowSound : public SoundModule {
protected:
    std::unique_ptr<TZunMain> Window(const QString& module, bool soundOn) {
        EXPECT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Desktop")));
        const QString ini = dir.filePath(QStringLiteral("pellix.ini"));
        QFile f(ini);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(soundOn ? "[ZunMain]\r\nSound=1\r\n" : "[ZunMain]\r\nSound=0\r\n");
        f.close();
        TShellEnvironment env = pellix::testing::TestEnvironment(dir.path());
        env.SettingsFile = ini;
        env.Player = Player({module});
        auto w = std::make_unique<TZunMain>(std::move(env));
        w->show();
        return w;
    }
};

TEST_F(WindowSound, SoundOnLoadsTheModuleAfterTheFirstPaintWithoutAKey) {
    const QString path = Place(Kind::Fake);
    auto w = Window(path, true);
    QSignalSpy painted(w.get(), &TZunMain::FirstPainted);
    EXPECT_FALSE(IsLoaded(path));
    ASSERT_TRUE(WaitFor([&] { return IsLoaded(path); }));
    EXPECT_EQ(painted.count(), 1);
    EXPECT_EQ(Plays(path), 0);
    w->repaint();
    QTest::qWait(20);
    EXPECT_EQ(painted.count(), 1) << "once only";
}

TEST_F(WindowSound, FirstKeyRightAfterShowClicks) {
    const QString path = Place(Kind::Fake);
    auto w = Window(path, true);
    QTest::keyClick(w.get(), Qt::Key_7, Qt::NoModifier);
    ASSERT_TRUE(WaitFor([&] { return Plays(path) == 1; }));
    EXPECT_EQ(w->Label("lbDisplay")->text(), QStringLiteral("7_"));
}

TEST_F(WindowSound, SoundOffNeverLoadsTheModuleUntilSwitchedOn) {
    const QString path = Place(Kind::Fake);
    auto w = Window(path, false);
    QTest::qWait(300);
    QTest::keyClick(w.get(), Qt::Key_7, Qt::NoModifier);
    QTest::qWait(100);
    EXPECT_FALSE(IsLoaded(path));
    w->PopupMenu()->findChild<QAction*>(QStringLiteral("mnSound"))->trigger();
    ASSERT_TRUE(WaitFor([&] { return IsLoaded(path); }));
    QTest::keyClick(w.get(), Qt::Key_8, Qt::NoModifier);
    ASSERT_TRUE(WaitFor([&] { return Plays(path) == 1; }));
}

} // namespace
