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
