// Stand-ins for the sound module: the real entry point with a player that
// only counts its plays. Built as three modules: a working one, one whose
// player comes with a note (as without an audio device), and one without the
// entry point.

#include "shell/clickplayer.h"

#include <QtGlobal>

#include <atomic>

namespace {

std::atomic<int> plays{0};
std::atomic<int> players{0};

class TCountingPlayer : public pellix::IClickPlayer {
public:
    void Play() override { ++plays; }
};

} // namespace

extern "C" Q_DECL_EXPORT int FakeSoundPlays() {
    return plays;
}

extern "C" Q_DECL_EXPORT int FakeSoundPlayers() {
    return players;
}

#ifndef FAKE_SOUND_WITHOUT_ENTRY
extern "C" Q_DECL_EXPORT pellix::IClickPlayer* PellixCreateClickPlayer(const pellix::TClickPcm& pcm,
                                                                       std::string& note) {
    // The program's click: mono 11025 Hz, 1376 samples of 16 bits.
    if (pcm.SampleRate != 11025 || pcm.Channels != 1 || pcm.Size != 2752 || pcm.Data == nullptr) {
        note = "unexpected click";
        return nullptr;
    }
#ifdef FAKE_SOUND_NOTE
    note = FAKE_SOUND_NOTE;
#endif
    ++players;
    return new TCountingPlayer;
}
#endif
