#include "clicksource.h"

#ifdef _WIN32
#include "winsound.h"
#else
#include "soundmodule.h"

#include <QCoreApplication>
#endif

namespace pellix {

#ifdef _WIN32

namespace {

class TPlaySoundClickPlayer : public IClickPlayer {
public:
    TPlaySoundClickPlayer() {
        (void)win::AuxiliaryDeviceCount(); // asked once; the answer is not used
    }
    void Play() override { win::PlayClickResource(); }
};

} // namespace

std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TPlaySoundClickPlayer>();
}

#else

std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TModuleClickPlayer>(
        SoundModuleCandidates(QCoreApplication::applicationDirPath()));
}

#endif

} // namespace pellix
