#pragma once

#include "facelook.h"

#include <QBasicTimer>
#include <QLabel>
#include <QWidget>

#include <functional>

namespace pellix {

// How assistive technology names the face's parts; built in, and replaced
// with the current language's texts by the window.
struct TFaceNames {
    QString About = QStringLiteral("About");     // the About hot spot
    QString FShift = QStringLiteral("f: %1");    // a key's f function, in its description
    QString GShift = QStringLiteral("g: %1");    // its g function
    QString Display = QStringLiteral("Display"); // the display's description
    // The display's description while a number is being keyed into it.
    QString DisplayKeying = QStringLiteral("Display, a number is being keyed");
    QString Off = QStringLiteral("%1 off"); // an annunciator gone out
};

// A transparent image control over a pictured key. It paints nothing but the
// keyboard focus mark: while it is pressed, the main window draws the key's
// cap moved up (the cap is wider than most hot spots, so the control could not
// cover it). Tab reaches it; a click does not take the focus.
class THotSpot : public QWidget {
    Q_OBJECT
public:
    // key is null for the About hot spot, which has no key.
    THotSpot(const FaceKey* key, const char* control, QWidget* parent);

    const FaceKey* Key() const { return FKey; }

    // From the press to the release the key is drawn pressed.
    void SetPressed(bool pressed) { FPressed = pressed; }
    bool IsPressed() const { return FPressed; }

    // Design geometry at the current zoom; see TZunMain::ScaleControl.
    QRect Bounds() const { return FBounds; }
    void SetBounds(const QRect& r);

    // The accessible name is the key's legend in words, the description its
    // tooltip and shifted functions.
    void SetNames(const TFaceNames& names);

    // A press by assistive technology, as a mouse click: the press now, the
    // release inside the hot spot once the pressed look has been seen.
    void Press();

signals:
    void MouseDown(THotSpot* sender);
    void MouseUp(THotSpot* sender, int x);
    void Click(THotSpot* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Release(QPoint pos);
    void FinishPress();

    const FaceKey* FKey;
    bool FPressed = false;
    QRect FBounds;
    QBasicTimer FPressTimer;
};

// A transparent label of the face. Its font size is kept in points so that
// zoom steps can round it; it swallows mouse presses (no drag starts on it)
// and reports clicks. The display shrinks its font for numbers too long for it.
class TFaceLabel : public QLabel {
    Q_OBJECT
public:
    TFaceLabel(const FaceItem& item, QWidget* parent);

    const FaceItem& Item() const { return FItem; }

    int FontPoints() const { return FPoints; }
    void SetFontPoints(int points);
    bool AutoSize() const { return FAutoSize; }

    QRect Bounds() const { return FBounds; }
    void SetBounds(const QRect& r);

    void SetCaption(const QString& text);
    void SetNames(const TFaceNames& names);

signals:
    void Click(TFaceLabel* sender);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Fit();

    const FaceItem& FItem; // the design's label
    int FPoints;
    bool FAutoSize;
    bool FShrinkToFit = false;
    QRect FBounds;
};

// A label's font size in points at zoom 1.0.
int DesignFontPoints(const FaceItem& item);

} // namespace pellix
