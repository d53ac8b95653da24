#pragma once

// The window band (topmost or normal) of a top-level window, one interface
// for every platform.

class QWidget;

namespace pellix {

// Puts the window into the topmost band or out of it, without moving or
// resizing it. The native window is neither re-created, hidden nor
// activated: Qt's record of the stay-on-top flag and the native window's
// flags are updated; on Windows the band is set with SetWindowPos(HWND_TOPMOST
// or HWND_NOTOPMOST, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE), elsewhere the
// window system is asked for it (on X11 the window manager's "above" state).
void SetWindowBand(QWidget& window, bool topmost);

// Puts the window back into its band when the program loses activation,
// without moving, resizing or activating it. On Windows: SetWindowPos with
// HWND_TOPMOST or HWND_NOTOPMOST and the flags 0x13 alone. Elsewhere:
// SetWindowBand, then a shown topmost window is raised.
void ReassertWindowBand(QWidget& window, bool topmost);

} // namespace pellix
