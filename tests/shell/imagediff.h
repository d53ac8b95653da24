#pragma once

#include <QImage>
#include <QRect>

namespace pellix {

// The smallest rectangle that holds every pixel in which a and b (of one
// size) differ; empty when they are the same.
inline QRect ChangedArea(const QImage& a, const QImage& b) {
    QRect changed;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
            }
        }
    }
    return changed;
}

} // namespace pellix
