#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QWidget;
class QWindow;

namespace pellix {

// Opens a window's menu as a context menu opens on Windows: at the release of
// a right click that did not move the window, never at the press, so a right
// press can drag the window and its release cannot pick a menu item. A press
// on a key's hot spot keys the key and opens nothing. It watches the native
// window, which sees every press and release before the widget under the
// pointer takes it (the display's label takes them without passing them on).
class TMenuOnRelease : public QObject {
public:
    // open receives the release's global position; it is called after the
    // release has been handled.
    TMenuOnRelease(QWidget& window, std::function<void(QPoint)> open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();

    QWidget& FWindow;
    std::function<void(QPoint)> FOpen;
    QPointer<QWindow> FWatched;
    bool FPressed = false; // a right press that may open the menu
    QPoint FPressedAt;     // the window's position at that press
};

} // namespace pellix
