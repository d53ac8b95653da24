#include "virtualkey.h"

namespace pellix {

std::uint16_t SystemVirtualKey(const QKeyEvent& /*event*/) {
    return 0;
}

} // namespace pellix
