#pragma once

// The ends of the window that reach it as no close: the display lost, and its
// native window destroyed by another program. One interface for every platform.

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

namespace pellix {

// Calls `onDisplayLost` when the connection to the display breaks (the X
// server ends or crashes, the session goes away, xkill cuts the connection):
// Qt's xcb platform then says "The X11 connection broke" and ends the process
// with exit(1) at once, so the call comes right at that message, on the GUI
// thread, and must not need the display. Calls `onWindowDestroyed` once, from
// the event loop, when another client destroys `window`'s native window
// (`xdotool windowclose`), which Qt leaves unnoticed: the process would go on
// without a window.
// One object at a time; the earlier message handler comes back when it goes.
//
// Windows has neither: the desktop outlives the program, and only the thread
// that made a window can destroy it. The object does nothing there.
class TDisplayEnd : public QAbstractNativeEventFilter {
public:
    TDisplayEnd(const QWidget& window, std::function<void()> onDisplayLost,
                std::function<void()> onWindowDestroyed);
    ~TDisplayEnd() override;
    TDisplayEnd(const TDisplayEnd&) = delete;
    TDisplayEnd& operator=(const TDisplayEnd&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // For the message handler.
    void DisplayLost() const;

private:
    const QWidget& FWindow;
    std::function<void()> FOnDisplayLost;
    std::function<void()> FOnWindowDestroyed;
};

} // namespace pellix
