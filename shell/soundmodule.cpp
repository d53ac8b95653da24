#include "soundmodule.h"

#include "wavsound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <span>

namespace pellix {

QByteArray ClickWaveFile() {
    QFile file(QStringLiteral(":/sounds/click.wav"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QStringList SoundModuleCandidates(const QString& executableFolder) {
    const QString file = QStringLiteral(PELLIX_SOUND_MODULE_FILE);
    const QDir folder(executableFolder);
    return {folder.filePath(file),
            QDir::cleanPath(folder.filePath(QStringLiteral(PELLIX_SOUND_MODULE_DIR "/") + file))};
}

TModuleClickPlayer::TModuleClickPlayer(QStringList candidates, Reporter report)
    : FCandidates(std::move(candidates)), FReport(std::move(report)) {
    if (!FReport) {
        FReport = [](const QString& line) {
            std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        };
    }
}

TModuleClickPlayer::~TModuleClickPlayer() = default;

void TModuleClickPlayer::Prepare() {
    if (!FTried) {
        FTried = true;
        Load();
    }
}

void TModuleClickPlayer::Play() {
    Prepare();
    if (FPlayer) {
        FPlayer->Play();
    }
}

void TModuleClickPlayer::Load() {
    auto silent = [this](const QString& why) {
        FReport(QStringLiteral("pellix: key clicks are silent: ") + why);
    };
    const QByteArray wave = ClickWaveFile();
    const auto wav = ParseWav(std::span(reinterpret_cast<const unsigned char*>(wave.constData()),
                                        static_cast<size_t>(wave.size())));
    if (!wav || wav->BitsPerSample != 16) {
        silent(QStringLiteral("the embedded click is not 16-bit PCM"));
        return;
    }
    QString failure;
    for (const QString& path : FCandidates) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        QLibrary module(path); // never unloaded: the player's code lives in it
        if (!module.load()) {
            failure = module.errorString();
            continue;
        }
        const auto entry = reinterpret_cast<TSoundModuleEntry>(module.resolve(SoundModuleEntry));
        if (entry == nullptr) {
            failure = QStringLiteral("%1 has no entry point %2")
                          .arg(path, QLatin1String(SoundModuleEntry));
            continue;
        }
        const TClickPcm pcm{static_cast<int>(wav->SampleRate), wav->Channels,
                            reinterpret_cast<const char*>(wav->Data.data()), wav->Data.size()};
        std::string note;
        FPlayer.reset(entry(pcm, note));
        if (!note.empty() || !FPlayer) {
            silent(note.empty() ? QStringLiteral("the sound module %1 gave no player").arg(path)
                                : QString::fromStdString(note));
        }
        return;
    }
    silent(failure.isEmpty()
               ? QStringLiteral("no sound module at %1").arg(FCandidates.join(QStringLiteral(", ")))
               : failure);
}

} // namespace pellix
