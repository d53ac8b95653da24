#include "zunmain.h"

#include "windowplacing.h"

#include <QMouseEvent>
#include <QWindow>

// The borderless main window dragged by its face.

namespace pellix {

void TZunMain::mousePressEvent(QMouseEvent* event) {
    MousePos = event->position().toPoint();
    if (!PlacesOwnWindow() && windowHandle() != nullptr && event->button() == Qt::LeftButton) {
        // Wayland does not let a client place its window: the compositor drags it.
        MousePos = QPoint(-1, -1);
        windowHandle()->startSystemMove();
    }
    event->accept();
}

void TZunMain::mouseMoveEvent(QMouseEvent* event) {
    if (MousePos.x() != -1 && event->buttons() != Qt::NoButton) {
        const QPoint p = event->position().toPoint();
        move(x() + p.x() - MousePos.x(), y() + p.y() - MousePos.y());
    }
    event->accept();
}

void TZunMain::mouseReleaseEvent(QMouseEvent* event) {
    MousePos = QPoint(-1, -1);
    event->accept();
}

} // namespace pellix
