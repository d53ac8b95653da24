#include "windowfit.h"

#include "facelook.h"
#include "hotspot.h"

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

} // namespace pellix
