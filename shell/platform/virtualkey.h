#pragma once

// The key table's virtual-key code as the system reports it with a key event.

#include <cstdint>

class QKeyEvent;

namespace pellix {

// On Windows the event's native virtual key when it is a 16-bit code other
// than 0; elsewhere 0 (the native virtual key there is a keysym, no
// virtual-key code), and the key is known by Qt's key and scan code instead.
std::uint16_t SystemVirtualKey(const QKeyEvent& event);

} // namespace pellix
