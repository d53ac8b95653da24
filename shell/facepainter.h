#pragma once

#include <QPixmap>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace pellix {

struct KeyLook;

// Paints the calculator's face - body, faceplate, display window, badge and the
// 39 keys with their legends - from the face look, as vector graphics, so it is
// crisp at every zoom and device pixel ratio. Design size: 639 x 402.
void PaintFace(QPainter& painter, const QRectF& target);

// The face rendered for a client area of the given size (the picture is
// stretched with its aspect ratio kept and centred), at the device pixel ratio.
QPixmap RenderFace(QSize clientSize, qreal devicePixelRatio);

// From design pixels of the face to client pixels of a client area that size.
QTransform FaceTransform(QSize clientSize);

// A key's cap with its shadow and the legends printed on it, in design
// pixels: what moves when the key is pressed. The f and g names printed on
// the body beside it stay.
void PaintKeyCap(QPainter& painter, const KeyLook& key);

// The area PaintKeyCap paints, in design pixels.
QRectF KeyCapArea(const KeyLook& key);

} // namespace pellix
