#include "windowband.h"

#include <QApplication>
#include <QWidget>

namespace pellix {

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

} // namespace pellix
