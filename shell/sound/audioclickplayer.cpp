// The sound module: the click played on the default audio output with Qt
// Multimedia. Kept out of the program so that its libraries (audio server
// client, Qt Network and what they pull in) load after the window is shown,
// on the sound worker.

#include "clickplayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

namespace pellix {

namespace {

// Longest a play may block the worker: the click lasts 125 ms; the rest is
// room for the audio server's latency.
constexpr int MaxPlayMs = 1000;

// Plays the click on the default audio output, blocking the calling thread
// until the click has finished, stopped or failed (with a bounded wait).
// Without an output device the play returns at once.
class TAudioClickPlayer : public IClickPlayer {
public:
    TAudioClickPlayer(const TClickPcm& pcm) : pcm_(pcm.Data, static_cast<qsizetype>(pcm.Size)) {
        format_.setSampleRate(pcm.SampleRate);
        format_.setChannelCount(pcm.Channels);
        format_.setSampleFormat(QAudioFormat::Int16);
    }

    // Why the click will not be heard on the current default output, if so.
    std::string Hindrance() const {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            return "no audio output device";
        }
        if (!device.isFormatSupported(format_)) {
            return "the audio output " + device.description().toStdString() +
                   " does not take the click's format";
        }
        return {};
    }

    void Play() override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(format_)) {
            return;
        }
        QBuffer buffer(&pcm_);
        buffer.open(QIODevice::ReadOnly);
        QAudioSink sink(device, format_);
        QEventLoop loop;
        QObject::connect(&sink, &QAudioSink::stateChanged, &loop, [&](QAudio::State state) {
            if (state == QAudio::IdleState || state == QAudio::StoppedState) {
                loop.quit();
            }
        });
        QTimer::singleShot(MaxPlayMs, &loop, &QEventLoop::quit);
        sink.start(&buffer);
        if (sink.error() == QAudio::NoError && sink.state() != QAudio::StoppedState) {
            loop.exec();
        }
        sink.stop();
    }

private:
    QAudioFormat format_;
    QByteArray pcm_;
};

// Qt Multimedia warns in words of its own when it finds no audio server; the
// program says why its clicks are silent in one line instead.
QtMessageHandler qtHandler = nullptr;

void WithoutAudioServerWarnings(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (!message.startsWith(QLatin1String("PulseAudioService:"))) {
        qtHandler(type, context, message);
    }
}

} // namespace

} // namespace pellix

// Asking for the default output here, on the worker, also connects to the
// audio server, so that the first click does not wait for it.
extern "C" Q_DECL_EXPORT pellix::IClickPlayer* PellixCreateClickPlayer(const pellix::TClickPcm& pcm,
                                                                       std::string& note) {
    if (pcm.Data == nullptr || pcm.Size == 0) {
        note = "no click to play";
        return nullptr;
    }
    auto* player = new pellix::TAudioClickPlayer(pcm);
    pellix::qtHandler = qInstallMessageHandler(pellix::WithoutAudioServerWarnings);
    note = player->Hindrance();
    qInstallMessageHandler(pellix::qtHandler);
    return player;
}
