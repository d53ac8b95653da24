#include "menuonrelease.h"

#include "hotspot.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace pellix {

TMenuOnRelease::TMenuOnRelease(QWidget& window, std::function<void(QPoint)> open)
    : QObject(&window), FWindow(window), FOpen(std::move(open)) {
    window.installEventFilter(this);
    Watch();
}

// The native window exists from the first show on and is made anew when Qt
// re-creates it.
void TMenuOnRelease::Watch() {
    QWindow* handle = FWindow.windowHandle();
    if (handle == FWatched) {
        return;
    }
    if (FWatched != nullptr) {
        FWatched->removeEventFilter(this);
    }
    FWatched = handle;
    if (handle != nullptr) {
        handle->installEventFilter(this);
    }
}

bool TMenuOnRelease::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &FWindow) {
        if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) {
            Watch();
        }
        return false;
    }
    if (watched != FWatched) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            const QWidget* under = FWindow.childAt(press->position().toPoint());
            FPressed = qobject_cast<const THotSpot*>(under) == nullptr;
            FPressedAt = FWindow.pos();
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::RightButton && FPressed) {
            FPressed = false;
            if (FWindow.pos() == FPressedAt) {
                // Queued: the release goes first to the widget that had the
                // press, not to the menu, which would take it for a choice.
                QMetaObject::invokeMethod(
                    this, [this, at = release->globalPosition().toPoint()] { FOpen(at); },
                    Qt::QueuedConnection);
            }
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace pellix
