#include "displayend.h"

#include <utility>

namespace pellix {

// Nothing to watch: the desktop outlives the program, and only the thread
// that made a window can destroy it.
TDisplayEnd::TDisplayEnd(const QWidget& window, std::function<void()> onDisplayLost,
                         std::function<void()> onWindowDestroyed)
    : FWindow(window), FOnDisplayLost(std::move(onDisplayLost)),
      FOnWindowDestroyed(std::move(onWindowDestroyed)) {}

TDisplayEnd::~TDisplayEnd() = default;

void TDisplayEnd::DisplayLost() const {}

bool TDisplayEnd::nativeEventFilter(const QByteArray&, void*, qintptr*) {
    return false;
}

} // namespace pellix
