#pragma once

// Which of Qt's display platforms the program runs on, chosen before the
// application object exists.

namespace pellix {

// In a Wayland session where XWayland serves X11 clients (DISPLAY is set) and
// the user chose no platform (QT_QPA_PLATFORM unset or empty), asks Qt for
// X11 ("xcb", then "wayland" should no X server answer): natively on Wayland
// a client can neither place its window nor keep it above others, so the
// stored position, stay-on-top and dragging would not work. Call before the
// application is created. Returns whether it chose. Windows has one platform:
// there it does nothing and returns false.
bool ChooseDisplayPlatform();

// Call once the application exists: the choice leaves the environment, so
// programs started from here (a browser for a link) choose their own.
void ForgetDisplayPlatformChoice();

} // namespace pellix
