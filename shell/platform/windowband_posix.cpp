#include "windowband.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace pellix {

void SetWindowBand(QWidget& window, bool topmost) {
    Qt::WindowFlags flags = window.windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == topmost)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (window.internalWinId() == 0) {
        // No native window yet: Qt creates it with the flag.
        window.setWindowFlags(flags);
        return;
    }
    // QWidget::setWindowFlags would destroy the native window and make a new,
    // hidden one; the window's own flags ask the window manager for the band
    // of the window as it is (_NET_WM_STATE_ABOVE on X11).
    window.overrideWindowFlags(flags);
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(flags);
}

// The band set again, and a shown topmost window raised.
void ReassertWindowBand(QWidget& window, bool topmost) {
    SetWindowBand(window, topmost);
    // Raised only when another program took the activation: a window of our
    // own (the About box) stays above the calculator.
    if (topmost && window.isVisible() && QApplication::activeWindow() == nullptr)
        window.raise();
}

} // namespace pellix
