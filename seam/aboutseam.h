#pragma once

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

} // namespace pellix
