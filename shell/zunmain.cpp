#include "zunmain.h"

#include "engine/systemseparators.h"
#include "faceaccessible.h"
#include "menuonrelease.h"
#include "seam/vendor.h"
#include "shell/platform/settingchange.h"
#include "shell/platform/windowband.h"
#include "shortcut.h"
#include "windowplacing.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QMenu>

namespace pellix {

namespace {

QString FromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
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

void TZunMain::FormDeactivate() {
    ReassertWindowBand(*this, FStored.StayOnTop);
}

void TZunMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        FormDeactivate();
    }
    QWidget::changeEvent(event);
}

THotSpot* TZunMain::HotSpot(const char* control) const {
    return findChild<THotSpot*>(QString::fromLatin1(control), Qt::FindDirectChildrenOnly);
}

TFaceLabel* TZunMain::Label(const char* control) const {
    return findChild<TFaceLabel*>(QString::fromLatin1(control), Qt::FindDirectChildrenOnly);
}

bool TZunMain::event(QEvent* event) {
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
