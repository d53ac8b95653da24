#pragma once

// The ends of the window that reach it as no close: the display lost, and its
// native window destroyed by another program. One interface for every
// platform; what each one watches is said in its source.

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

namespace pellix {

// Calls `onDisplayLost` when the connection to the display breaks, right
// before Qt ends the process: on the GUI thread, and the call must not need
// the display. Calls `onWindowDestroyed` once, from the event loop, when
// another program destroys `window`'s native window, which Qt leaves
// unnoticed: the process would go on without a window. Where the platform has
// neither end, the object does nothing. One object at a time.
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
