#include "zunmain.h"

#include "facepainter.h"
#include "windowplacing.h"

#include <QPainter>

#include <algorithm>

// The main window's face, with its pressed keys drawn moved up.

namespace pellix {

// The pressed key's cap in device pixels of the face: all of it, as drawn,
// with the pixel of antialiasing fringe around it.
QRect TZunMain::PressedArea(const THotSpot* spot) const {
    const qreal dpr = devicePixelRatioF();
    const QTransform toDevice = FaceTransform(FClientSize) * QTransform::fromScale(dpr, dpr);
    return toDevice.mapRect(KeyCapArea(LookOf(*spot->Key())))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

// A pressed cap moves up by about two design pixels, at least one device pixel.
int TZunMain::PressedShift() const {
    return std::max(1, qRound(2 * FaceTransform(FClientSize).m11() * devicePixelRatioF()));
}

void TZunMain::ShowPressed(THotSpot* spot, bool pressed) {
    if (spot->Key() == nullptr || spot->IsPressed() == pressed) {
        return;
    }
    spot->SetPressed(pressed);
    const QRectF area = PressedArea(spot);
    update(QRectF(area.topLeft() / devicePixelRatioF(), area.size() / devicePixelRatioF())
               .toAlignedRect());
}

void TZunMain::paintEvent(QPaintEvent*) {
    if (FFace.isNull() || FFace.devicePixelRatio() != devicePixelRatioF()) {
        FFace = RenderFace(FClientSize, devicePixelRatioF());
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(0, 0, FFace);
    // A pressed key: its whole cap shows the face's pixels from below, pixel
    // for pixel, so it looks moved up.
    const qreal dpr = FFace.devicePixelRatio();
    const int shift = PressedShift();
    for (const THotSpot* s : FHotSpots) {
        if (s->IsPressed()) {
            const QRect area = PressedArea(s).intersected(FFace.rect().adjusted(0, 0, 0, -shift));
            p.drawPixmap(QRectF(QPointF(area.topLeft()) / dpr, QSizeF(area.size()) / dpr), FFace,
                         QRectF(area.translated(0, shift)));
        }
    }
    if (!FPainted) {
        FPainted = true;
        QMetaObject::invokeMethod(this, &TZunMain::AfterFirstPaint, Qt::QueuedConnection);
    }
}

void TZunMain::AfterFirstPaint() {
    // The sound module loads once the window is on screen, before the first
    // key press; with the sound off it is never loaded.
    if (FStored.Sound) {
        Beep->Prepare();
    }
    NoteCompositorPlacing();
    emit FirstPainted();
}

} // namespace pellix
