#pragma once

#include <cstdint>

class QKeyEvent;

namespace pellix {

// The key table value (a Windows virtual-key code) of a physical key, or 0.
// Digits of the main keyboard count by their position, so Shift+8 is the 8
// key whatever character it types; keypad keys map to the numeric-pad codes.
std::uint16_t VirtualKeyOf(const QKeyEvent& event);

} // namespace pellix
