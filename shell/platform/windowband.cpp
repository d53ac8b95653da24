#include "windowband.h"

#include <QApplication>

#include <QWidget>
#include <QWindow>

#ifdef _WIN32
#include "winwindow.h"

#include <cstdint>
#endif

namespace pellix {

#ifdef _WIN32

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

void ReassertWindowBand(QWidget& window, bool topmost) {
    if (window.internalWinId() != 0)
        win::PutWindowInBand(static_cast<std::uintptr_t>(window.internalWinId()), topmost);
}

#else

void SetWindowBand(QWidget& window, bool topmost) {
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    const bool shown = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (shown)
        window.show(); // changing the flags hides a shown window
}

void ReassertWindowBand(QWidget& window, bool topmost) {
    SetWindowBand(window, topmost);
    // Raised only when another program took the activation: a window of our
    // own (the About box) stays above the calculator.
    if (topmost && window.isVisible() && QApplication::activeWindow() == nullptr)
        window.raise();
}

#endif

} // namespace pellix
