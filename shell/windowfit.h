#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace pellix {

// Window placement and size rules. A stored position may be any int, so the
// sums of a position and a size are formed in 64 bits: in int they overflow.

// True when a window of the given size at topLeft shares a pixel with area.
bool Overlaps(QPoint topLeft, QSize size, const QRect& area);

// True when a window of the given size fits an area of the given size in
// width and in height.
bool FitsIn(QSize window, QSize available);

// A size times factor, each side rounded as every zoom rounds.
QSize ScaledSize(QSize size, double factor);

// The client size of the face at a zoom.
QSize ZoomedClientSize(double zoom);

// zoom itself when its window fits available, else the largest zoom step
// (a whole power of factor) that fits; never below the smallest step, the
// first power of factor at or below floor. zoom must be positive.
double FittingZoom(double zoom, QSize available, double factor, double floor);

// A screen's whole area and the part of it that windows may take.
struct TScreenArea {
    QRect Geometry;
    QRect Available;
};

// Where a window of the given size at topLeft shows whole: topLeft itself when
// every pixel of it lies on some screen, else the nearest position inside the
// available area of the screen that shows most of it (a window stored on a
// screen that is gone, beside a screen that remains). topLeft itself when no
// screen shows any of it.
QPoint ShownWhole(QPoint topLeft, QSize size, const std::vector<TScreenArea>& screens);

} // namespace pellix
