#include "alsaoutput.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <cstdint>
#include <memory>

namespace pellix {

namespace {

// The buffer asked of the device: short, so the click follows the key.
constexpr unsigned LatencyUs = 30'000;

// ALSA reports a missing card on stderr in lines of its own; the program says
// why its clicks are silent in one line instead.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

// ALSA is only the fallback for systems without a sound server, so its
// library is loaded when first needed instead of with the module: most
// desktops never map it.
struct TAlsaLibrary {
    decltype(&snd_pcm_open) Open = nullptr;
    decltype(&snd_pcm_set_params) SetParams = nullptr;
    decltype(&snd_pcm_writei) Write = nullptr;
    decltype(&snd_pcm_recover) Recover = nullptr;
    decltype(&snd_pcm_drain) Drain = nullptr;
    decltype(&snd_pcm_close) Close = nullptr;
    decltype(&snd_strerror) Error = nullptr;

    // Null when the library is missing; it is never unloaded.
    static const TAlsaLibrary* Get() {
        static const TAlsaLibrary* library = Load();
        return library;
    }

private:
    static const TAlsaLibrary* Load() {
        void* handle = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        static TAlsaLibrary l;
        bool complete = true;
        const auto resolve = [&](auto& function, const char* name) {
            function =
                reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            complete = complete && function != nullptr;
        };
        resolve(l.Open, "snd_pcm_open");
        resolve(l.SetParams, "snd_pcm_set_params");
        resolve(l.Write, "snd_pcm_writei");
        resolve(l.Recover, "snd_pcm_recover");
        resolve(l.Drain, "snd_pcm_drain");
        resolve(l.Close, "snd_pcm_close");
        resolve(l.Error, "snd_strerror");
        decltype(&snd_lib_error_set_handler) setHandler = nullptr;
        resolve(setHandler, "snd_lib_error_set_handler");
        if (!complete) {
            return nullptr;
        }
        setHandler(Quiet);
        return &l;
    }
};

struct TPcmClose {
    const TAlsaLibrary* Library;
    void operator()(snd_pcm_t* pcm) const { Library->Close(pcm); }
};
using TPcm = std::unique_ptr<snd_pcm_t, TPcmClose>;

TPcm OpenDefault(std::string* why) {
    const TAlsaLibrary* alsa = TAlsaLibrary::Get();
    if (alsa == nullptr) {
        if (why != nullptr) {
            *why = "ALSA's library libasound.so.2 is missing";
        }
        return TPcm(nullptr, TPcmClose{alsa});
    }
    snd_pcm_t* pcm = nullptr;
    const int err = alsa->Open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0);
    if (err < 0) {
        if (why != nullptr) {
            *why = std::string("ALSA's default output does not open (") + alsa->Error(err) + ")";
        }
        pcm = nullptr;
    }
    return TPcm(pcm, TPcmClose{alsa});
}

} // namespace

TAlsaOutput::TAlsaOutput(unsigned rate, unsigned channels, std::vector<char> samples)
    : FRate(rate), FChannels(channels), FSamples(std::move(samples)) {}

bool TAlsaOutput::Available(std::string& why) const {
    return OpenDefault(&why) != nullptr;
}

bool TAlsaOutput::Play() const {
    const TPcm pcm = OpenDefault(nullptr);
    if (!pcm) {
        return false;
    }
    const TAlsaLibrary& alsa = *pcm.get_deleter().Library;
    // Resampling allowed: converting the click's rate is ALSA's job.
    if (alsa.SetParams(pcm.get(), SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, FChannels,
                       FRate, 1, LatencyUs) < 0) {
        return false;
    }
    const std::size_t frameBytes = 2 * FChannels;
    const char* data = FSamples.data();
    auto frames = static_cast<snd_pcm_uframes_t>(FSamples.size() / frameBytes);
    while (frames > 0) {
        const snd_pcm_sframes_t written = alsa.Write(pcm.get(), data, frames);
        if (written < 0) {
            if (alsa.Recover(pcm.get(), static_cast<int>(written), 1) < 0) {
                return false;
            }
            continue;
        }
        data += static_cast<std::size_t>(written) * frameBytes;
        frames -= static_cast<snd_pcm_uframes_t>(written);
    }
    return alsa.Drain(pcm.get()) >= 0;
}

} // namespace pellix
