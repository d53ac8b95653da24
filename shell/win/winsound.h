#pragma once

// The key click on Windows: the "WAVE" resource 1 of the program's own module,
// played synchronously with the multimedia library.

#include <string_view>

namespace pellix::win {

inline constexpr int ClickResourceId = 1;

// The bytes of the running program's "WAVE" resource 1; empty when it has none.
std::string_view ClickResource();

// Plays the click and returns when it has finished or failed: PlaySoundW with
// the resource identifier 1, the program's module and SND_RESOURCE alone (so
// the play is synchronous and, without the resource, the system's default
// sound plays instead). Returns PlaySoundW's result.
bool PlayClickResource();

// The number of auxiliary audio devices (auxGetNumDevs).
unsigned AuxiliaryDeviceCount();

} // namespace pellix::win
