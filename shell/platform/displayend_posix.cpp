#include "displayend.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include <cstdint>
#include <utility>

namespace pellix {

// The connection to the X server breaks when the server ends or crashes, the
// session goes away or xkill cuts it: Qt's xcb platform then says "The X11
// connection broke" and ends the process with exit(1) at once, so the call
// comes right at that message, from a message handler of our own (the earlier
// one comes back when the object goes). A window destroyed by another client
// (`xdotool windowclose`) shows as its DestroyNotify event.

namespace {

const TDisplayEnd* Current = nullptr;
QtMessageHandler Previous = nullptr;
bool Lost = false;

// The start of what Qt's xcb platform says before it ends the process, from
// its event dispatcher and from Xlib's I/O error handler alike.
const QLatin1String BrokenConnection("The X11 connection broke");

// An X11 DestroyNotify event as xcb hands it over (the protocol's layout).
struct DestroyNotifyEvent {
    std::uint8_t ResponseType; // the top bit set when a client sent it
    std::uint8_t Pad;
    std::uint16_t Sequence;
    std::uint32_t Event;
    std::uint32_t Window;
};
constexpr std::uint8_t DestroyNotify = 17;

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (Previous != nullptr)
        Previous(type, context, text);
    // Only the GUI thread may touch the window; the process ends right after.
    if (Current != nullptr && !Lost && type != QtDebugMsg && type != QtInfoMsg &&
        text.startsWith(BrokenConnection) && QCoreApplication::instance() != nullptr &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        Lost = true;
        Current->DisplayLost();
    }
}

} // namespace

TDisplayEnd::TDisplayEnd(const QWidget& window, std::function<void()> onDisplayLost,
                         std::function<void()> onWindowDestroyed)
    : FWindow(window), FOnDisplayLost(std::move(onDisplayLost)),
      FOnWindowDestroyed(std::move(onWindowDestroyed)) {
    Current = this;
    Lost = false;
    Previous = qInstallMessageHandler(OnMessage);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TDisplayEnd::~TDisplayEnd() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
    qInstallMessageHandler(Previous);
    Previous = nullptr;
    Current = nullptr;
}

void TDisplayEnd::DisplayLost() const {
    if (FOnDisplayLost)
        FOnDisplayLost();
}

bool TDisplayEnd::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !FOnWindowDestroyed)
        return false;
    const auto* event = static_cast<const DestroyNotifyEvent*>(message);
    const WId window = FWindow.internalWinId();
    // One that another client merely sent tells nothing.
    if (event->ResponseType == DestroyNotify && window != 0 && event->Window == window) {
        const auto onDestroyed = std::exchange(FOnWindowDestroyed, nullptr); // once
        onDestroyed();
    }
    return false;
}

} // namespace pellix
