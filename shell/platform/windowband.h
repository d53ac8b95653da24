#pragma once

// The window band (topmost or normal) of a top-level window, one interface
// for every platform; how each one sets it is said in its source.

class QWidget;

namespace pellix {

// Puts the window into the topmost band or out of it, without moving or
// resizing it. The native window is neither re-created, hidden nor
// activated: Qt's record of the stay-on-top flag and the native window's
// flags are updated, and the window system is asked for the band.
void SetWindowBand(QWidget& window, bool topmost);

// Puts the window back into its band when the program loses activation,
// without moving, resizing or activating it.
void ReassertWindowBand(QWidget& window, bool topmost);

} // namespace pellix
