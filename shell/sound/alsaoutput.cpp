#include "alsaoutput.h"

#include <alsa/asoundlib.h>

#include <cstdint>
#include <memory>

namespace pellix {

namespace {

// The buffer asked of the device: short, so the click follows the key.
constexpr unsigned LatencyUs = 30'000;

struct TPcmClose {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};
using TPcm = std::unique_ptr<snd_pcm_t, TPcmClose>;

TPcm OpenDefault(std::string* why) {
    snd_pcm_t* pcm = nullptr;
    const int err = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0);
    if (err < 0) {
        if (why != nullptr) {
            *why = std::string("ALSA's default output does not open (") + snd_strerror(err) + ")";
        }
        return nullptr;
    }
    return TPcm(pcm);
}

} // namespace

TAlsaOutput::TAlsaOutput(unsigned rate, unsigned channels, std::vector<char> samples)
    : FRate(rate), FChannels(channels), FSamples(std::move(samples)) {}

bool TAlsaOutput::Available(std::string& why) const {
    return OpenDefault(&why) != nullptr;
}

bool TAlsaOutput::Play() const {
    const TPcm pcm = OpenDefault(nullptr);
    // Resampling allowed: converting the click's rate is ALSA's job.
    if (!pcm || snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                   FChannels, FRate, 1, LatencyUs) < 0) {
        return false;
    }
    const std::size_t frameBytes = 2 * FChannels;
    const char* data = FSamples.data();
    auto frames = static_cast<snd_pcm_uframes_t>(FSamples.size() / frameBytes);
    while (frames > 0) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), data, frames);
        if (written < 0) {
            if (snd_pcm_recover(pcm.get(), static_cast<int>(written), 1) < 0) {
                return false;
            }
            continue;
        }
        data += static_cast<std::size_t>(written) * frameBytes;
        frames -= static_cast<snd_pcm_uframes_t>(written);
    }
    return snd_pcm_drain(pcm.get()) >= 0;
}

} // namespace pellix
