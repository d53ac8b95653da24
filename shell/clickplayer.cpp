#include "clickplayer.h"

#include "wavsound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>

#include <span>

namespace pellix {

namespace {

// Longest a play may block the worker: the click lasts 125 ms; the rest is
// room for the audio server's latency.
constexpr int MaxPlayMs = 1000;

} // namespace

QByteArray ClickWaveFile() {
    QFile file(QStringLiteral(":/sounds/click.wav"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

TAudioClickPlayer::TAudioClickPlayer() {
    const QByteArray bytes = ClickWaveFile();
    const auto wav = ParseWav(std::span(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                        static_cast<size_t>(bytes.size())));
    if (!wav || wav->BitsPerSample != 16) {
        return;
    }
    format_.setSampleRate(static_cast<int>(wav->SampleRate));
    format_.setChannelCount(wav->Channels);
    format_.setSampleFormat(QAudioFormat::Int16);
    pcm_ = QByteArray(reinterpret_cast<const char*>(wav->Data.data()),
                      static_cast<qsizetype>(wav->Data.size()));
}

void TAudioClickPlayer::Play() {
    if (pcm_.isEmpty()) {
        return;
    }
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

} // namespace pellix
