#pragma once

// The key table's virtual-key code as the system reports it with a key event.

#include <cstdint>

class QKeyEvent;

namespace pellix {

// The virtual-key code the system gives for the event's physical key, or 0
// where it gives none: the key is then known by Qt's key alone.
std::uint16_t SystemVirtualKey(const QKeyEvent& event);

} // namespace pellix
