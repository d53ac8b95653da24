#include "clicksource.h"

#include "shell/win/winsound.h"

namespace pellix {

namespace {

// The program's "WAVE" resource 1 played with PlaySoundW and SND_RESOURCE
// alone, so each play is synchronous.
class TPlaySoundClickPlayer : public IClickPlayer {
public:
    TPlaySoundClickPlayer() {
        // The number of auxiliary audio devices, asked once when the player is
        // made; the answer is not used.
        (void)win::AuxiliaryDeviceCount();
    }
    void Play() override { win::PlayClickResource(); }
};

} // namespace

std::unique_ptr<IClickPlayer> PlatformClickPlayer() {
    return std::make_unique<TPlaySoundClickPlayer>();
}

} // namespace pellix
