#pragma once

#include <cmath>

namespace pellix {

// Half-to-even rounding to a whole number (the default rounding mode), as every
// zoomed coordinate and font size is rounded.
inline int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace pellix
