#include "virtualkey.h"

#include <QKeyEvent>

namespace pellix {

// The event's native virtual key is the Windows virtual-key code itself; 0
// (or anything wider) where Qt made the event without one.
std::uint16_t SystemVirtualKey(const QKeyEvent& event) {
    if (event.nativeVirtualKey() != 0 && event.nativeVirtualKey() <= 0xFFFF) {
        return static_cast<std::uint16_t>(event.nativeVirtualKey());
    }
    return 0;
}

} // namespace pellix
