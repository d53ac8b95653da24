#include "windowfit.h"

#include "base/rounding.h"
#include "facelook.h"

#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pellix {

bool Overlaps(QPoint topLeft, QSize size, const QRect& area) {
    const std::int64_t left = topLeft.x();
    const std::int64_t top = topLeft.y();
    return size.width() > 0 && size.height() > 0 && !area.isEmpty() &&
           left < std::int64_t{area.x()} + area.width() && left + size.width() > area.x() &&
           top < std::int64_t{area.y()} + area.height() && top + size.height() > area.y();
}

bool FitsIn(QSize window, QSize available) {
    return window.width() <= available.width() && window.height() <= available.height();
}

QSize ScaledSize(QSize size, double factor) {
    return {RoundEven(size.width() * factor), RoundEven(size.height() * factor)};
}

QSize ZoomedClientSize(double zoom) {
    return ScaledSize(QSize(FaceClientWidth, FaceClientHeight), zoom);
}

double FittingZoom(double zoom, QSize available, double factor, double floor) {
    if (FitsIn(ZoomedClientSize(zoom), available)) {
        return zoom;
    }
    int step = static_cast<int>(std::floor(std::log(zoom) / std::log(factor)));
    double z = std::pow(factor, step);
    while (z > floor && !FitsIn(ZoomedClientSize(z), available)) {
        z = std::pow(factor, --step);
    }
    return z;
}

QPoint ShownWhole(QPoint topLeft, QSize size, const std::vector<TScreenArea>& screens) {
    const TScreenArea* most = nullptr;
    std::int64_t mostPixels = 0;
    for (const TScreenArea& s : screens) {
        if (!Overlaps(topLeft, size, s.Geometry)) {
            continue;
        }
        // Overlapping: the window's corners lie within a window's size of the
        // screen, so its rectangle is formed without overflow.
        const QRect shown = QRect(topLeft, size).intersected(s.Geometry);
        const std::int64_t pixels = std::int64_t{shown.width()} * shown.height();
        if (pixels > mostPixels) {
            most = &s;
            mostPixels = pixels;
        }
    }
    if (most == nullptr) {
        return topLeft;
    }
    QRegion off(QRect(topLeft, size));
    for (const TScreenArea& s : screens) {
        off -= s.Geometry;
    }
    if (off.isEmpty()) {
        return topLeft;
    }
    const QRect area = most->Available;
    return {std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width())),
            std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()))};
}

} // namespace pellix
