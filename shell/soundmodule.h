#pragma once

#include "clickplayer.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <memory>

namespace pellix {

// The embedded click as a WAVE file.
QByteArray ClickWaveFile();

// Where the sound module may lie, in the order tried: beside the executable
// (the build tree), then in the program's library folder relative to it (an
// installation).
QStringList SoundModuleCandidates(const QString& executableFolder);

// The click player of the sound module. The module is loaded by the first
// Prepare or Play, on the calling thread (the sound worker), never at
// construction. If no candidate loads or the module has no player to give,
// the clicks are silent and the reason is reported once.
class TModuleClickPlayer : public IClickPlayer {
public:
    using Reporter = std::function<void(const QString& line)>;

    // Without a reporter, the reason goes to stderr as one line.
    explicit TModuleClickPlayer(QStringList candidates, Reporter report = nullptr);
    ~TModuleClickPlayer() override;

    void Prepare() override;
    void Play() override;

private:
    void Load();

    QStringList FCandidates;
    Reporter FReport;
    bool FTried = false;                   // used by the worker thread only
    std::unique_ptr<IClickPlayer> FPlayer; // null: silent
};

} // namespace pellix
