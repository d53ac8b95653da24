#include "clicksource.h"

#include "shell/win/winsound.h"

namespace pellix {

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

} // namespace pellix
