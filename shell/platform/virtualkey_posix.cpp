#include "virtualkey.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace pellix {

namespace {

// The native virtual key is a keysym here, no virtual-key code; under X11 and
// Wayland the scan code is the evdev keycode of the physical key.
bool UsesEvdevKeycodes() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

} // namespace

std::uint16_t SystemVirtualKey(const QKeyEvent& event) {
    // Only the digit row is known by position: evdev keycodes 10 to 19 are
    // 1..9, 0, whatever character Shift makes of them.
    const quint32 scan = event.nativeScanCode();
    if (UsesEvdevKeycodes() && scan >= 10 && scan <= 19 &&
        !(event.modifiers() & Qt::KeypadModifier)) {
        return static_cast<std::uint16_t>(scan == 19 ? 0x30 : 0x31 + (scan - 10));
    }
    return 0;
}

} // namespace pellix
