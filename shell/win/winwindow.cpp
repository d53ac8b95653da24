#include "winwindow.h"

#include <windows.h>

namespace pellix::win {

namespace {

HWND Handle(std::uintptr_t window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

static_assert(BandPositionFlags == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
static_assert(SettingChangeMessage == WM_SETTINGCHANGE);

bool PutWindowInBand(std::uintptr_t window, bool topmost) {
    return SetWindowPos(Handle(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        BandPositionFlags) != FALSE;
}

bool IsInTopmostBand(std::uintptr_t window) {
    return (GetWindowLongPtrW(Handle(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool IsSettingChangeFor(const void* message, std::uintptr_t window) {
    const MSG* msg = static_cast<const MSG*>(message);
    return msg != nullptr && window != 0 && msg->message == WM_SETTINGCHANGE &&
           msg->hwnd == Handle(window);
}

} // namespace pellix::win
