#pragma once

#include <QEvent>

#include <functional>

class QWidget;

namespace pellix {

// The About box as the main window sees it; the box itself lives beside the
// window, and the program hands the window a factory at start-up.
class IAboutBox {
public:
    virtual ~IAboutBox() = default;
    // Opens the box modally with fresh texts; returns when it has been closed.
    virtual void Open() = 0;
};

// Creates the hidden box, owned by the given window (a Qt child of it).
using TAboutFactory = std::function<IAboutBox*(QWidget* owner)>;

// The main window's own message that opens the box, sent synchronously.
inline const QEvent::Type WM_SHOWABOUT = static_cast<QEvent::Type>(QEvent::User + 1);

} // namespace pellix
