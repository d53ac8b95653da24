#pragma once

// The key click's player of the platform. What each platform plays with is
// said in its source.

#include "shell/beepthread.h"

#include <memory>

namespace pellix {

// A player of the program's click, for the sound worker.
std::unique_ptr<IClickPlayer> PlatformClickPlayer();

} // namespace pellix
