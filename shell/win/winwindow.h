#pragma once

// Window routines on Windows. Windows are given by their handle as an integer
// (a Qt window's winId()).

#include <cstdint>

namespace pellix::win {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE.
inline constexpr unsigned BandPositionFlags = 0x13;

// Puts the window into the topmost band (HWND_TOPMOST) or out of it
// (HWND_NOTOPMOST) without moving, resizing or activating it. Returns
// SetWindowPos's result.
bool PutWindowInBand(std::uintptr_t window, bool topmost);

// Whether the window belongs to the topmost band (WS_EX_TOPMOST).
bool IsInTopmostBand(std::uintptr_t window);

// WM_SETTINGCHANGE.
inline constexpr unsigned SettingChangeMessage = 0x001A;

// Whether `message` (a MSG) is the system's settings-change broadcast reaching
// `window`.
bool IsSettingChangeFor(const void* message, std::uintptr_t window);

} // namespace pellix::win
