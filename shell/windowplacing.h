#pragma once

namespace pellix {

// Whether the program places its own window and keeps it above others: on
// every platform but Wayland natively, where the compositor does both (and
// drags the window) and a client's idea of its position is not its place.
bool PlacesOwnWindow();

// Says once per run on stderr, where the compositor places the window, that
// placing and stay-on-top are left to it and the stored position is kept.
void NoteCompositorPlacing();

} // namespace pellix
