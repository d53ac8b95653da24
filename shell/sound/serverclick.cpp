// The sound module: the click played through the system's sound server
// (PulseAudio's protocol, which PipeWire serves too), or through ALSA's
// default output when no server answers. Kept out of the program so that no
// audio library loads before the window is shown, and none at all while the
// sound is off.

#include "alsaoutput.h"
#include "pulseoutput.h"
#include "shell/clickplayer.h"

#include <malloc.h>

#include <cstdint>
#include <string>

namespace pellix {

namespace {

class TServerClickPlayer : public IClickPlayer {
public:
    TServerClickPlayer(const TClickPcm& pcm, std::vector<char> samples)
        : FPulse(pa_sample_spec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(pcm.SampleRate),
                                static_cast<std::uint8_t>(pcm.Channels)},
                 samples),
          FAlsa(static_cast<unsigned>(pcm.SampleRate), static_cast<unsigned>(pcm.Channels),
                std::move(samples)) {}

    // Connects, so that the first click does not wait for the server; says
    // why no click will be heard, if so.
    std::string Hindrance() {
        std::string server;
        if (FPulse.Connect(server)) {
            return {};
        }
        std::string device;
        if (FAlsa.Available(device)) {
            return {};
        }
        return server + " and " + device;
    }

    // A server that went away leaves this click silent; the next play looks
    // for one again, so clicks come back with the server.
    void Play() override {
        std::string ignored;
        if (FPulse.Connect(ignored)) {
            FPulse.Play();
        } else {
            FAlsa.Play();
        }
    }

private:
    TPulseOutput FPulse;
    TAlsaOutput FAlsa;
};

} // namespace

} // namespace pellix

extern "C" __attribute__((visibility("default"))) pellix::IClickPlayer*
PellixCreateClickPlayer(const pellix::TClickPcm& pcm, std::string& note) {
    if (pcm.Data == nullptr || pcm.Size == 0 || pcm.SampleRate <= 0 || pcm.Channels < 1 ||
        pcm.Channels > 2) {
        note = "no click to play";
        return nullptr;
    }
    auto* player =
        new pellix::TServerClickPlayer(pcm, std::vector<char>(pcm.Data, pcm.Data + pcm.Size));
    note = player->Hindrance();
    // Setting up the connection parses configuration files into memory it
    // frees again; hand those pages back rather than keep them for good.
    malloc_trim(0);
    return player;
}
