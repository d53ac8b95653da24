#include "zunmain.h"

#include "base/rounding.h"
#include "engine/systemseparators.h"
#include "faceaccessible.h"
#include "facepainter.h"
#include "keymap.h"
#include "keypad/keyboard.h"
#include "menuonrelease.h"
#include "seam/vendor.h"
#include "shell/platform/settingchange.h"
#include "shell/platform/windowband.h"
#include "shortcut.h"
#include "windowfit.h"
#include "windowplacing.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>

namespace pellix {

namespace {

constexpr QPoint DesignedPos(427, 196);

// The window's texts live in the section named after it, the menu's captions
// under the keys a harvested form's would have ("PopupMenu1.mnSound.Caption").
const QString TextSection = QStringLiteral("ZunMain");

struct TMenuText {
    const char* Name;
    const char* Caption; // built in
};
constexpr TMenuText MenuTexts[] = {{"mnSound", "Sound"},
                                   {"mnShowOnDesktop", "Show On Desktop"},
                                   {"mnStayOnTop", "Stay On Top"},
                                   {"Copy1", "Copy"},
                                   {"Paste1", "Paste"},
                                   {"About1", "About"},
                                   {"Close1", "Close"}};

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

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

double CurrentDateTimeValue() {
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

TZunMain::TZunMain(TShellEnvironment env, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), Entry(Zun), FEnv(std::move(env)) {
    InstallFaceAccessibility(); // before the window's first accessibility event
    setObjectName(QStringLiteral("ZunMain"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    // Screen readers say the program's name; the title is for the taskbar.
    setAccessibleName(QString::fromLatin1(ProgramName));
    setAttribute(Qt::WA_TranslucentBackground); // the face has rounded corners
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    FClientSize = QSize(FaceClientWidth, FaceClientHeight);
    setFixedSize(FClientSize);
    move(DesignedPos);
    CreateControls();
    CreateMenu();
    new TMenuOnRelease(*this, [this](QPoint at) { PopupMenu1->popup(at); }); // a child
    Translate();
    if (FEnv.Texts != nullptr) {
        FEnv.Texts->WatchLanguage(this, [this] { Translate(); });
    }
    FormCreate();
}

TZunMain::~TZunMain() = default;

void TZunMain::CreateControls() {
    for (const FaceKey& k : FaceKeys) {
        auto* spot = new THotSpot(&k, std::string(k.Control).c_str(), this);
        const FaceRect& r = LookOf(k).Bounds;
        spot->SetBounds(QRect(r.Left, r.Top, r.Width, r.Height));
        connect(spot, &THotSpot::MouseDown, this, &TZunMain::imMouseDown);
        connect(spot, &THotSpot::MouseUp, this, &TZunMain::imMouseUp);
        if (k.Kind == SpotKind::Prefix) {
            connect(spot, &THotSpot::Click, this, [this](THotSpot* s) { lbFClick(s); });
        } else if (k.Kind == SpotKind::Close) {
            connect(spot, &THotSpot::Click, this, &TZunMain::imCloseClick);
        }
        FHotSpots.push_back(spot);
    }
    const FaceItem& about = *ItemByControl("imAbout");
    auto* imAbout = new THotSpot(nullptr, "imAbout", this);
    imAbout->SetBounds(
        QRect(about.Bounds.Left, about.Bounds.Top, about.Bounds.Width, about.Bounds.Height));
    connect(imAbout, &THotSpot::Click, this, &TZunMain::ShowAbout);
    FHotSpots.push_back(imAbout);

    for (const char* name : {"lbDisplay", "lbF", "lbG", "lbTrig"}) {
        auto* label = new TFaceLabel(*ItemByControl(name), this);
        FLabels.push_back(label);
    }
    lbDisplay = FLabels[0];
    lbF = FLabels[1];
    lbG = FLabels[2];
    lbTrig = FLabels[3];
    // The keyboard focus rests on the display, where a screen reader starts;
    // Tab walks the keys, Escape comes back.
    setFocusProxy(lbDisplay);
    lbDisplay->setFocus();
    Entry.OnChange([this] { ShowLabels(); });
    for (TFaceLabel* l : {lbF, lbG, lbTrig}) {
        connect(l, &TFaceLabel::Click, this, [this](TFaceLabel* s) { lbFClick(s); });
    }
}

void TZunMain::CreateMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, bool checkable) { // captioned by Translate
        auto* a = PopupMenu1->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        return a;
    };
    mnSound = item("mnSound", true);
    mnShowOnDesktop = item("mnShowOnDesktop", true);
    mnStayOnTop = item("mnStayOnTop", true);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Copy1 = item("Copy1", false);
    Copy1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Insert), QKeySequence::Copy});
    Paste1 = item("Paste1", false);
    Paste1->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence::Paste});
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    About1 = item("About1", false);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    Close1 = item("Close1", false);
    mnSound->setChecked(true);
    mnStayOnTop->setChecked(true);
    for (QAction* a : {Copy1, Paste1}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a); // the shortcuts work while the menu is closed
    }
    connect(mnSound, &QAction::triggered, this, &TZunMain::mnSoundClick);
    connect(mnShowOnDesktop, &QAction::triggered, this, &TZunMain::mnShowOnDesktopClick);
    connect(mnStayOnTop, &QAction::triggered, this, &TZunMain::mnStayOnTopClick);
    connect(Copy1, &QAction::triggered, this, &TZunMain::Copy1Click);
    connect(Paste1, &QAction::triggered, this, &TZunMain::Paste1Click);
    connect(About1, &QAction::triggered, this, &TZunMain::ShowAbout);
    connect(Close1, &QAction::triggered, this, &TZunMain::imCloseClick);
}

void TZunMain::Translate() {
    const auto text = [this](const QString& key, QString value) {
        if (FEnv.Texts != nullptr) {
            FEnv.Texts->MakeText(TextSection, key, value, false);
        }
        return value;
    };
    for (const TMenuText& m : MenuTexts) {
        const QString name = QString::fromLatin1(m.Name);
        PopupMenu1->findChild<QAction*>(name, Qt::FindDirectChildrenOnly)
            ->setText(text(QLatin1String("PopupMenu1.") + name + QLatin1String(".Caption"),
                           QString::fromLatin1(m.Caption)));
    }
    TFaceNames names;
    names.About = text(QStringLiteral("SNameAbout"), names.About);
    names.FShift = text(QStringLiteral("SNameF"), names.FShift);
    names.GShift = text(QStringLiteral("SNameG"), names.GShift);
    names.Display = text(QStringLiteral("SNameDisplay"), names.Display);
    names.DisplayKeying = text(QStringLiteral("SNameDisplayKeying"), names.DisplayKeying);
    names.Off = text(QStringLiteral("SNameOff"), names.Off);
    for (THotSpot* spot : FHotSpots) {
        spot->SetNames(names);
    }
    lbDisplay->SetNames(names);
}

void TZunMain::FormCreate() {
    Beep = std::make_unique<TBeepThread>(std::move(FEnv.Player));
    Zun.Regional = FEnv.Regional.value_or(SystemSeparators());
    FStored = TWindowSettings(); // the design's values, kept where the file has none
    FScale = 1.0;
    FSettings = std::make_unique<TSettings>(FEnv.SettingsFile, Zun, *this);
    FSettings->SetDecimalSeparator(FromUtf8(Zun.Regional.Decimal));
    FSettings->LoadSettings();
    // The load only recorded the values: the window applies them.
    Entry.SyncTrigCaption();
    ShowLabels();
    ApplyWindowBand();
    MendRestoredWindow();
    mnShowOnDesktop->setChecked(
        ShortcutAtStart(FStored.LastShowAbout, FEnv.ExecutablePath, FEnv.DesktopFolder));
    mnSound->setChecked(FStored.Sound);
    mnStayOnTop->setChecked(FStored.StayOnTop);
    MousePos = QPoint(-1, -1);
    Entry.RefreshDisplay();
    FStored.LastShowAbout = CurrentDateTimeValue();
    // Every orderly end that does not close the window first (a termination
    // request, the end of the session on Windows) ends the event loop.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TZunMain::StoreOnEnd);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive) {
                    FormDeactivate();
                }
            });
    Zoom(FStored.TotalScale); // from the design's size
    FSettingChange =
        std::make_unique<TSettingChangeFilter>(*this, [this] { StoreOnSettingChange(); });
}

// The one store on a change of the system's settings, whichever way the
// platform reports it.
void TZunMain::StoreOnSettingChange() {
    FSettings->StoreSettings();
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

// Where the compositor places the window, the window does not know its place:
// the stored position stays as it was read.
TWindowSettings TZunMain::WindowSettings() const {
    TWindowSettings values = FStored;
    if (PlacesOwnWindow()) {
        values.Left = pos().x();
        values.Top = pos().y();
    }
    return values;
}

// Only recorded: the window applies the values after the load (see FormCreate).
void TZunMain::SetWindowSettings(const TWindowSettings& values) {
    FStored = values;
}

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

// The entry machine calls this whenever what it shows has changed.
void TZunMain::ShowLabels() {
    lbDisplay->SetCaption(FromUtf8(Entry.DisplayText()));
    lbF->SetCaption(FromUtf8(Entry.FCaption()));
    lbG->SetCaption(FromUtf8(Entry.GCaption()));
    lbTrig->SetCaption(FromUtf8(Entry.TrigCaption()));
}

void TZunMain::AppException(std::string_view message) {
    Entry.AppException(message);
}

void TZunMain::KeyClick(THotSpot* sender) {
    const FaceKey* key = sender->Key();
    if (key == nullptr || key->Kind != SpotKind::Key) {
        return;
    }
    Entry.Press(key->Code);
}

// The pressed key's cap in device pixels of the face: all of it, as drawn,
// with the pixel of antialiasing fringe around it.
QRect TZunMain::PressedArea(const THotSpot* spot) const {
    const qreal dpr = devicePixelRatioF();
    const QTransform toDevice = FaceTransform(FClientSize) * QTransform::fromScale(dpr, dpr);
    return toDevice.mapRect(KeyCapArea(LookOf(*spot->Key())))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

// A pressed cap moves up by about two design pixels, at least one device pixel.
int TZunMain::PressedShift() const {
    return std::max(1, qRound(2 * FaceTransform(FClientSize).m11() * devicePixelRatioF()));
}

void TZunMain::ShowPressed(THotSpot* spot, bool pressed) {
    if (spot->Key() == nullptr || spot->IsPressed() == pressed) {
        return;
    }
    spot->SetPressed(pressed);
    const QRectF area = PressedArea(spot);
    update(QRectF(area.topLeft() / devicePixelRatioF(), area.size() / devicePixelRatioF())
               .toAlignedRect());
}

void TZunMain::imMouseDown(THotSpot* sender) {
    ShowPressed(sender, true);
    if (FStored.Sound) {
        Beep->Beep();
    }
}

void TZunMain::imMouseUp(THotSpot* sender, int x) {
    ShowPressed(sender, false);
    const FaceKey* key = sender->Key();
    if (key == nullptr || key->Kind != SpotKind::Key) {
        x = -1; // f, g and the close key take no part in entry
    }
    if (x >= 0) {
        KeyClick(sender);
    }
}

void TZunMain::lbFClick(QObject* sender) {
    PrefixSender who = PrefixSender::Label;
    if (auto* spot = qobject_cast<THotSpot*>(sender)) {
        who = spot->objectName() == QLatin1String("imG") ? PrefixSender::GKey : PrefixSender::FKey;
    }
    Entry.lbFClick(who);
}

void TZunMain::imCloseClick() {
    StoreOnEnd();
    close();
}

void TZunMain::StoreOnEnd() {
    if (!FEndStored) {
        FEndStored = true;
        FSettings->StoreSettings();
    }
}

void TZunMain::closeEvent(QCloseEvent* event) {
    StoreOnEnd(); // the window manager's close: Alt+F4, the taskbar, the session's end
    QWidget::closeEvent(event);
}

void TZunMain::SetSound(bool on) {
    FStored.Sound = on;
    mnSound->setChecked(on);
}

void TZunMain::mnSoundClick() {
    SetSound(!FStored.Sound);
    if (FStored.Sound) {
        Beep->Prepare();
    }
}

void TZunMain::mnShowOnDesktopClick() {
    // A shell link that cannot be made (Windows) shows its fault in the display.
    Entry.Guarded([&] {
        ShowOnDesktopClick([this](bool checked) { mnShowOnDesktop->setChecked(checked); },
                           FEnv.ExecutablePath, FEnv.DesktopFolder);
    });
}

void TZunMain::SetStayOnTop(bool on) {
    if (on != FStored.StayOnTop) {
        FStored.StayOnTop = on;
        FSettings->StoreSettings();
    }
    ApplyWindowBand();
}

void TZunMain::ApplyWindowBand() {
    SetWindowBand(*this, FStored.StayOnTop);
}

void TZunMain::mnStayOnTopClick() {
    SetStayOnTop(!FStored.StayOnTop);
    mnStayOnTop->setChecked(FStored.StayOnTop);
}

void TZunMain::FormDeactivate() {
    ReassertWindowBand(*this, FStored.StayOnTop);
}

void TZunMain::Copy1Click() {
    QGuiApplication::clipboard()->setText(lbDisplay->text());
}

void TZunMain::Paste1Click() {
    Entry.Guarded([this] { Entry.Paste(QGuiApplication::clipboard()->text().toStdString()); });
}

void TZunMain::ShowAbout() {
    // Sent, not posted: the click returns once the box has been closed.
    QEvent showAbout(WM_SHOWABOUT);
    QCoreApplication::sendEvent(this, &showAbout);
}

THotSpot* TZunMain::HotSpot(const char* control) const {
    return findChild<THotSpot*>(QString::fromLatin1(control), Qt::FindDirectChildrenOnly);
}

TFaceLabel* TZunMain::Label(const char* control) const {
    return findChild<TFaceLabel*>(QString::fromLatin1(control), Qt::FindDirectChildrenOnly);
}

void TZunMain::paintEvent(QPaintEvent*) {
    if (FFace.isNull() || FFace.devicePixelRatio() != devicePixelRatioF()) {
        FFace = RenderFace(FClientSize, devicePixelRatioF());
    }
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(0, 0, FFace);
    // A pressed key: its whole cap shows the face's pixels from below, pixel
    // for pixel, so it looks moved up.
    const qreal dpr = FFace.devicePixelRatio();
    const int shift = PressedShift();
    for (const THotSpot* s : FHotSpots) {
        if (s->IsPressed()) {
            const QRect area = PressedArea(s).intersected(FFace.rect().adjusted(0, 0, 0, -shift));
            p.drawPixmap(QRectF(QPointF(area.topLeft()) / dpr, QSizeF(area.size()) / dpr), FFace,
                         QRectF(area.translated(0, shift)));
        }
    }
    if (!FPainted) {
        FPainted = true;
        QMetaObject::invokeMethod(this, &TZunMain::AfterFirstPaint, Qt::QueuedConnection);
    }
}

void TZunMain::AfterFirstPaint() {
    // The sound module loads once the window is on screen, before the first
    // key press; with the sound off it is never loaded.
    if (FStored.Sound) {
        Beep->Prepare();
    }
    NoteCompositorPlacing();
    emit FirstPainted();
}

void TZunMain::mousePressEvent(QMouseEvent* event) {
    MousePos = event->position().toPoint();
    if (!PlacesOwnWindow() && windowHandle() != nullptr && event->button() == Qt::LeftButton) {
        // Wayland does not let a client place its window: the compositor drags it.
        MousePos = QPoint(-1, -1);
        windowHandle()->startSystemMove();
    }
    event->accept();
}

void TZunMain::mouseMoveEvent(QMouseEvent* event) {
    if (MousePos.x() != -1 && event->buttons() != Qt::NoButton) {
        const QPoint p = event->position().toPoint();
        move(x() + p.x() - MousePos.x(), y() + p.y() - MousePos.y());
    }
    event->accept();
}

void TZunMain::mouseReleaseEvent(QMouseEvent* event) {
    MousePos = QPoint(-1, -1);
    event->accept();
}

void TZunMain::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's menu opens at the release of the right click (TMenuOnRelease),
    // whenever the platform reports the click; the menu key's at once.
    if (event->reason() != QContextMenuEvent::Mouse) {
        PopupMenu1->popup(event->globalPos());
    }
    event->accept();
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

void TZunMain::keyPressEvent(QKeyEvent* event) {
    if (const FaceKey* key = KeyToSender(VirtualKeyOf(*event))) {
        if (THotSpot* spot = HotSpot(std::string(key->Control).c_str())) {
            imMouseDown(spot);
        }
    }
    // The typed character decides the action.
    for (const QChar ch : event->text()) {
        if (Entry.TypeChar(ch.unicode()) == KeyPressResult::Close) {
            imCloseClick();
            return;
        }
    }
    event->accept();
}

void TZunMain::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;
    }
    if (const FaceKey* key = KeyToSender(VirtualKeyOf(*event))) {
        if (THotSpot* spot = HotSpot(std::string(key->Control).c_str())) {
            imMouseUp(spot, -1);
        }
    }
}

void TZunMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        FormDeactivate();
    }
    QWidget::changeEvent(event);
}

bool TZunMain::event(QEvent* event) {
    if (event->type() == WM_SHOWABOUT) {
        // Made at its first opening, not at start-up: nobody sees it before,
        // and the window appears sooner.
        if (FAbout == nullptr && FEnv.AboutFactory) {
            FAbout = FEnv.AboutFactory(this);
        }
        if (FAbout != nullptr) {
            FAbout->Open();
        }
        return true;
    }
    switch (event->type()) {
    case QEvent::Show:
        FEndStored = false;
        break;
    case QEvent::LocaleChange:
        // The system's regional settings changed: new separators from now on.
        if (!FEnv.Regional) {
            Entry.SetRegional(SystemSeparators());
            FSettings->SetDecimalSeparator(FromUtf8(Zun.Regional.Decimal));
        }
        break;
    default:
        break;
    }
    if (AnnouncesSettingChange(*event)) {
        StoreOnSettingChange();
    }
    return QWidget::event(event);
}

} // namespace pellix
