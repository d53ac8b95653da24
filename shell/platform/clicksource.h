#pragma once

// The key click's player of the platform.

#include "shell/beepthread.h"

#include <memory>

namespace pellix {

// On Windows: the program's "WAVE" resource 1 played with PlaySoundW and
// SND_RESOURCE alone (synchronous; the number of auxiliary audio devices is
// asked once when the player is made). Elsewhere: the sound module's player
// (TModuleClickPlayer), the module being found relative to the executable.
std::unique_ptr<IClickPlayer> PlatformClickPlayer();

} // namespace pellix
