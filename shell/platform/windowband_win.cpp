#include "windowband.h"

#include "shell/win/winwindow.h"

#include <QWidget>
#include <QWindow>

#include <cstdint>

namespace pellix {

// The band is set with SetWindowPos(HWND_TOPMOST or HWND_NOTOPMOST,
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE), the flags 0x13 alone.
void SetWindowBand(QWidget& window, bool topmost) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (window.internalWinId() == 0) {
        // No native window yet: Qt creates it with the flag.
        window.setWindowFlags(flags);
        return;
    }
    window.overrideWindowFlags(flags); // Qt's record, without re-creating the window
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(flags);
    win::PutWindowInBand(static_cast<std::uintptr_t>(window.internalWinId()), topmost);
}

// SetWindowPos alone, as above.
void ReassertWindowBand(QWidget& window, bool topmost) {
    if (window.internalWinId() != 0)
        win::PutWindowInBand(static_cast<std::uintptr_t>(window.internalWinId()), topmost);
}

} // namespace pellix
