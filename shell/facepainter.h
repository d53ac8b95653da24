#pragma once

#include <QPixmap>
#include <QRectF>

class QPainter;

namespace pellix {

// Paints the calculator's face - body, faceplate, display window, badge and the
// 39 keys with their legends - from the key table, as vector graphics, so it is
// crisp at every zoom and device pixel ratio. Design size: 639 x 402.
void PaintFace(QPainter& painter, const QRectF& target);

// The face rendered for a client area of the given size (the picture is
// stretched with its aspect ratio kept and centred), at the device pixel ratio.
QPixmap RenderFace(QSize clientSize, qreal devicePixelRatio);

} // namespace pellix
