#include "shell/beepthread.h"
#include "shell/soundmodule.h"
#include "shell/wavsound.h"
#include "waitfor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

using namespace pellix;
using namespace std::chrono_literals;

namespace {

// A player that takes a known time per click and counts its plays.
class FakePlayer : public IClickPlayer {
public:
    explicit FakePlayer(std::chrono::milliseconds playTime) : playTime_(playTime) {}

    void Play() override {
        ++started;
        std::this_thread::sleep_for(playTime_);
        ++finished;
    }
    void Prepare() override {
        preparedOn = std::this_thread::get_id();
        ++prepared;
    }

    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    std::atomic<int> prepared{0};
    std::thread::id preparedOn;

private:
    std::chrono::milliseconds playTime_;
};

struct Worker {
    explicit Worker(std::chrono::milliseconds playTime) {
        auto p = std::make_unique<FakePlayer>(playTime);
        player = p.get();
        thread = std::make_unique<TBeepThread>(std::move(p));
    }
    FakePlayer* player;
    std::unique_ptr<TBeepThread> thread;
};

TEST(BeepThread, OneBeepPlaysExactlyOneClick) {
    Worker w(20ms);
    w.thread->Beep();
    ASSERT_TRUE(WaitFor([&] { return w.player->finished == 1; }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(w.player->started, 1);
}

TEST(BeepThread, TenBeepsWithinFiftyMsWhileIdleGiveTwoClicks) {
    Worker w(150ms);
    w.thread->Beep();
    ASSERT_TRUE(WaitFor([&] { return w.player->started == 1; }));
    for (int i = 0; i < 9; ++i) {
        std::this_thread::sleep_for(5ms);
        w.thread->Beep();
    }
    ASSERT_TRUE(WaitFor([&] { return w.player->finished == 2; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(w.player->started, 2);
}

TEST(BeepThread, BeepsDuringAPlayCollapseIntoOneMoreClick) {
    Worker w(100ms);
    for (int round = 1; round <= 2; ++round) {
        w.thread->Beep();
        ASSERT_TRUE(WaitFor([&] { return w.player->started == 2 * round - 1; }));
        for (int i = 0; i < 5; ++i) {
            w.thread->Beep();
        }
        ASSERT_TRUE(WaitFor([&] { return w.player->finished == 2 * round; }));
        std::this_thread::sleep_for(150ms);
        EXPECT_EQ(w.player->started, 2 * round);
    }
}

TEST(BeepThread, PrepareReadiesThePlayerOnTheWorkerAndPlaysNothing) {
    Worker w(10ms);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(w.player->prepared, 0); // not before it is asked
    w.thread->Prepare();
    ASSERT_TRUE(WaitFor([&] { return w.player->prepared == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(w.player->started, 0);
    EXPECT_NE(w.player->preparedOn, std::this_thread::get_id());
    w.thread->Beep();
    ASSERT_TRUE(WaitFor([&] { return w.player->finished == 1; }));
    EXPECT_EQ(w.player->prepared, 1);
}

TEST(BeepThread, NoBeepNoClick) {
    Worker w(10ms);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(w.player->started, 0);
}

TEST(BeepThread, StopDuringAPlayWaitsForThatClickOnly) {
    Worker w(300ms);
    w.thread->Beep();
    ASSERT_TRUE(WaitFor([&] { return w.player->started == 1; }));
    w.thread->Beep(); // pending: must not be played after the stop
    QElapsedTimer timer;
    timer.start();
    w.thread->Stop();
    EXPECT_LT(timer.elapsed(), 300 + 2000); // one play, with room for a loaded machine
    EXPECT_TRUE(w.thread->isFinished());
    EXPECT_EQ(w.player->started, 1);
    EXPECT_EQ(w.player->finished, 1);
}

TEST(BeepThread, BeepAfterStopIsIgnoredAndDestructionJoins) {
    Worker w(10ms);
    w.thread->Stop();
    w.thread->Beep();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(w.player->started, 0);
    w.thread.reset(); // a second stop through the destructor
}

// The embedded click, read from the resource as the program plays it.
TWavSound EmbeddedClick() {
    const QByteArray bytes = ClickWaveFile();
    EXPECT_EQ(bytes.size(), 2796);
    auto wav = ParseWav(std::span(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  static_cast<size_t>(bytes.size())));
    EXPECT_TRUE(wav.has_value());
    return wav.value_or(TWavSound{});
}

TEST(ClickSound, HeaderFields) {
    const TWavSound wav = EmbeddedClick();
    EXPECT_EQ(wav.RiffSize, 2788u);
    EXPECT_EQ(wav.FmtSize, 16u);
    EXPECT_EQ(wav.FormatTag, 1);
    EXPECT_EQ(wav.Channels, 1);
    EXPECT_EQ(wav.SampleRate, 11025u);
    EXPECT_EQ(wav.ByteRate, 22050u);
    EXPECT_EQ(wav.BlockAlign, 2);
    EXPECT_EQ(wav.BitsPerSample, 16);
    EXPECT_EQ(wav.DataSize, 2752u);
    EXPECT_EQ(wav.Samples16().size(), 1376u);
}

TEST(ClickSound, EnvelopeOfAMechanicalClick) {
    const std::vector<std::int16_t> s = EmbeddedClick().Samples16();
    ASSERT_EQ(s.size(), 1376u);
    auto ms = [](size_t i) { return 1000.0 * static_cast<double>(i) / 11025; };
    size_t peak = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (std::abs(s[i]) > std::abs(s[peak])) {
            peak = i;
        }
        if (ms(i) < 61) {
            ASSERT_LT(std::abs(s[i]), 40) << "lead-in at " << ms(i) << " ms";
        }
        if (ms(i) >= 73.5) {
            ASSERT_LT(std::abs(s[i]), 1000) << "decay at " << ms(i) << " ms";
        }
        if (ms(i) >= 83.5) {
            ASSERT_LT(std::abs(s[i]), 250) << "tail at " << ms(i) << " ms";
        }
    }
    EXPECT_EQ(std::abs(s[peak]), 26214);
    EXPECT_NEAR(ms(peak), 64.0, 0.05);
    int peaks = 0;
    for (auto v : s) {
        peaks += std::abs(v) == 26214;
    }
    EXPECT_EQ(peaks, 1);
    // The transient has not died out before 73 ms (a click, not a blip) and
    // a faint tail runs to the end.
    int tailMax = 0;
    for (size_t i = static_cast<size_t>(0.083 * 11025); i < s.size(); ++i) {
        tailMax = std::max(tailMax, std::abs(static_cast<int>(s[i])));
    }
    EXPECT_GT(tailMax, 150);
    EXPECT_LE(tailMax, 250);
    int lateMax = 0;
    for (size_t i = s.size() - 110; i < s.size(); ++i) {
        lateMax = std::max(lateMax, std::abs(static_cast<int>(s[i])));
    }
    EXPECT_GT(lateMax, 40) << "the tail still sounds in the last 10 ms";
}

TEST(ClickSound, CommittedFileIsTheGeneratorsOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("click.wav"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(PELLIX_MAKE_CLICK), {out}), 0);
    QFile generated(out);
    ASSERT_TRUE(generated.open(QIODevice::ReadOnly));
    EXPECT_EQ(generated.readAll(), ClickWaveFile());
}

struct BadWav {
    const char* name;
    QByteArray bytes;
};

TEST(WavParser, RejectsMalformedFiles) {
    const QByteArray good = ClickWaveFile();
    QByteArray badTag = good;
    badTag[0] = 'X';
    QByteArray notPcm = good;
    notPcm[20] = 3;
    QByteArray hugeChunk = good;
    hugeChunk[40] = '\xff';
    hugeChunk[41] = '\xff';
    hugeChunk[42] = '\xff';
    hugeChunk[43] = '\x7f';
    const BadWav cases[] = {
        {"empty", QByteArray()},
        {"not RIFF", badTag},
        {"not PCM", notPcm},
        {"truncated header", good.left(30)},
        {"data chunk longer than file", hugeChunk},
        {"no data chunk", good.left(36)},
    };
    for (const BadWav& c : cases) {
        EXPECT_FALSE(ParseWav(std::span(reinterpret_cast<const unsigned char*>(c.bytes.constData()),
                                        static_cast<size_t>(c.bytes.size())))
                         .has_value())
            << c.name;
    }
}

} // namespace
