#pragma once

#include "beepthread.h"

#include <QAudioFormat>
#include <QByteArray>

namespace pellix {

// Plays the embedded click on the default audio output, blocking the calling
// thread until the click has finished, stopped or failed (with a bounded wait).
// Without an output device the play returns at once; nothing is reported.
class TAudioClickPlayer : public IClickPlayer {
public:
    TAudioClickPlayer();
    void Play() override;

    bool HasSound() const { return !pcm_.isEmpty(); }

private:
    QAudioFormat format_;
    QByteArray pcm_;
};

// The embedded click as a WAVE file.
QByteArray ClickWaveFile();

} // namespace pellix
