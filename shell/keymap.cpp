#include "keymap.h"

#include "shell/platform/virtualkey.h"

#include <QKeyEvent>

namespace pellix {

namespace {

std::uint16_t KeypadKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<std::uint16_t>(0x60 + (key - Qt::Key_0)); // VK_NUMPAD0..9
    }
    switch (key) {
    case Qt::Key_Asterisk:
        return 0x6A;
    case Qt::Key_Plus:
        return 0x6B;
    case Qt::Key_Minus:
        return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete: // the keypad's decimal key without Num Lock
        return 0x6E;
    case Qt::Key_Slash:
        return 0x6F;
    case Qt::Key_Enter:
        return 0x0D;
    default:
        return 0;
    }
}

} // namespace

std::uint16_t VirtualKeyOf(const QKeyEvent& event) {
    // The system's code knows the key by position; Qt's key by the character.
    if (const std::uint16_t system = SystemVirtualKey(event)) {
        return system;
    }
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (const std::uint16_t k = KeypadKey(key)) {
            return k;
        }
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<std::uint16_t>(0x30 + (key - Qt::Key_0));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::uint16_t>(0x41 + (key - Qt::Key_A));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<std::uint16_t>(0x70 + (key - Qt::Key_F1));
    }
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Print:
        return 0x2A;
    case Qt::Key_Execute:
        return 0x2B;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Help:
        return 0x2F;
    default:
        return 0;
    }
}

} // namespace pellix
