#include "zunmain.h"

#include "base/rounding.h"
#include "windowfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWheelEvent>

#include <cmath>

// The main window's zoom by the mouse wheel, and the place and zoom a restored
// window takes.

namespace pellix {

namespace {

// The first screen that shows part of a window of the given size at topLeft.
const QScreen* ScreenShowing(QPoint topLeft, QSize size) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (Overlaps(topLeft, size, screen->geometry())) {
            return screen;
        }
    }
    return nullptr;
}

} // namespace

void TZunMain::SetClientSize(QSize size) {
    FClientSize = size;
    setFixedSize(size);
    FFace = QPixmap();
    update();
}

// Every place, size and font comes from the control's design value and the
// total zoom, never from the previous step: any way to a zoom gives the same
// pixels, and a round trip of steps gives back the face it started from.
void TZunMain::ScaleControl(QWidget* control) {
    const double zoom = FStored.TotalScale;
    auto scaled = [zoom](const FaceRect& r) {
        return QRect(RoundEven(r.Left * zoom), RoundEven(r.Top * zoom), RoundEven(r.Width * zoom),
                     RoundEven(r.Height * zoom));
    };
    if (auto* spot = qobject_cast<THotSpot*>(control)) {
        spot->SetBounds(scaled(spot->Key() != nullptr ? LookOf(*spot->Key()).Bounds
                                                      : ItemByControl("imAbout")->Bounds));
    } else if (auto* label = qobject_cast<TFaceLabel*>(control)) {
        const FaceItem& item = label->Item();
        label->SetBounds(scaled(item.Bounds));
        label->SetFontPoints(RoundEven(DesignFontPoints(item) * zoom));
    }
}

// The window, its hot spots and its labels take the size of the total zoom;
// factor is the step that led there (the stored zoom at start-up).
void TZunMain::Zoom(double factor) {
    FScale = factor;
    SetClientSize(ZoomedClientSize(FStored.TotalScale));
    for (THotSpot* s : FHotSpots) { // image controls first, then labels
        ScaleControl(s);
    }
    for (TFaceLabel* l : FLabels) {
        ScaleControl(l);
    }
}

void TZunMain::FormMouseWheelDown() {
    if (FStored.TotalScale > MinTotalScale) {
        FStored.TotalScale /= ScaleFactor;
        Zoom(1 / ScaleFactor);
        FSettings->StoreSettings();
    }
}

// A step is refused when the grown window would not fit the available area
// of its screen, the rule the stored zoom follows at start-up.
void TZunMain::FormMouseWheelUp() {
    const QScreen* area = screen();
    const QSize grown = ZoomedClientSize(FStored.TotalScale * ScaleFactor);
    if (area != nullptr && FitsIn(grown, area->availableGeometry().size())) {
        FStored.TotalScale *= ScaleFactor;
        Zoom(ScaleFactor);
        FSettings->StoreSettings();
    }
}

void TZunMain::wheelEvent(QWheelEvent* event) {
    FWheelDelta += event->angleDelta().y();
    while (FWheelDelta >= 120) {
        FWheelDelta -= 120;
        FormMouseWheelUp();
    }
    while (FWheelDelta <= -120) {
        FWheelDelta += 120;
        FormMouseWheelDown();
    }
    event->accept();
}

// The settings file may hold any position and zoom. A position that puts the
// window on no screen falls back to the design's place on the primary screen,
// one that puts part of it off the screens brings it whole onto one;
// a zoom that is not a number or far out of range falls back to the design,
// and one whose window does not fit the screen to the largest step that fits.
void TZunMain::MendRestoredWindow() {
    if (!std::isfinite(FStored.TotalScale) || FStored.TotalScale <= 0.05 ||
        FStored.TotalScale >= 20) {
        FStored.TotalScale = 1.0;
    }
    QPoint where(FStored.Left, FStored.Top);
    if (const QScreen* screen = ScreenShowing(where, ZoomedClientSize(FStored.TotalScale))) {
        FStored.TotalScale = FittingZoom(FStored.TotalScale, screen->availableGeometry().size(),
                                         ScaleFactor, MinTotalScale);
    }
    if (ScreenShowing(where, ZoomedClientSize(FStored.TotalScale)) == nullptr) {
        where = DesignedPos;
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            where += primary->geometry().topLeft();
            FStored.TotalScale =
                FittingZoom(FStored.TotalScale, primary->availableGeometry().size(), ScaleFactor,
                            MinTotalScale);
        }
    }
    std::vector<TScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back({screen->geometry(), screen->availableGeometry()});
    }
    move(ShownWhole(where, ZoomedClientSize(FStored.TotalScale), screens));
}

} // namespace pellix
