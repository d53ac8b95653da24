#include "displayplatform.h"

#include <cstdlib>
#include <cstring>

namespace pellix {

namespace {

constexpr const char* PlatformVariable = "QT_QPA_PLATFORM";
bool Chosen = false;

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool WaylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return IsSet("WAYLAND_DISPLAY") || (type != nullptr && std::strcmp(type, "wayland") == 0);
}

} // namespace

// In a Wayland session where XWayland serves X11 clients (DISPLAY is set) and
// the user chose no platform (QT_QPA_PLATFORM unset or empty), asks Qt for
// X11 ("xcb", then "wayland" should no X server answer): natively on Wayland
// a client can neither place its window nor keep it above others.
bool ChooseDisplayPlatform() {
    if (!IsSet(PlatformVariable) && IsSet("DISPLAY") && WaylandSession()) {
        Chosen = setenv(PlatformVariable, "xcb;wayland", 1) == 0;
    }
    return Chosen;
}

void ForgetDisplayPlatformChoice() {
    if (Chosen) {
        unsetenv(PlatformVariable);
        Chosen = false;
    }
}

} // namespace pellix
