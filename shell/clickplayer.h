#pragma once

// What the sound worker plays with, and the boundary between the program and
// a sound module where the platform's player is one (clicksource.h): the
// program links no audio library for it; the module, loaded by the worker
// after the window is shown, brings the player.

#include <cstddef>
#include <string>

namespace pellix {

// Plays one click and returns when it has finished or failed.
class IClickPlayer {
public:
    virtual ~IClickPlayer() = default;
    virtual void Play() = 0;
    // Readies the player so that its first play starts without delay (loads
    // what it needs); called on the worker thread, possibly more than once.
    // Play does the same when it has not been called.
    virtual void Prepare() {}
};

// The click as the program hands it to the module: 16-bit signed
// little-endian PCM. The module copies what it keeps.
struct TClickPcm {
    int SampleRate = 0;
    int Channels = 0;
    const char* Data = nullptr;
    std::size_t Size = 0;
};

// The module's one entry point, looked up by the name SoundModuleEntry. It
// returns a player owned by the caller, or null with the reason in note; with
// a player, a non-empty note says why clicks may not be heard (no audio output
// device, say). The module is never unloaded: the player's code lives in it.
using TSoundModuleEntry = IClickPlayer* (*)(const TClickPcm& pcm, std::string& note);
inline constexpr char SoundModuleEntry[] = "PellixCreateClickPlayer";

} // namespace pellix
