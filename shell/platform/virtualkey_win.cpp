#include "virtualkey.h"

#include <QKeyEvent>

namespace pellix {

std::uint16_t SystemVirtualKey(const QKeyEvent& event) {
    if (event.nativeVirtualKey() != 0 && event.nativeVirtualKey() <= 0xFFFF) {
        return static_cast<std::uint16_t>(event.nativeVirtualKey());
    }
    return 0;
}

} // namespace pellix
