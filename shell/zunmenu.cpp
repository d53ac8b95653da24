#include "zunmain.h"

#include "shortcut.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

// The main window's popup menu, its texts in the current language, and what
// its items do.

namespace pellix {

namespace {

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

} // namespace

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

void TZunMain::mnStayOnTopClick() {
    SetStayOnTop(!FStored.StayOnTop);
    mnStayOnTop->setChecked(FStored.StayOnTop);
}

void TZunMain::Copy1Click() {
    QGuiApplication::clipboard()->setText(lbDisplay->text());
}

void TZunMain::Paste1Click() {
    Entry.Guarded([this] { Entry.Paste(QGuiApplication::clipboard()->text().toStdString()); });
}

// Returns once the box has been closed.
void TZunMain::ShowAbout() {
    // Made at its first opening, not at start-up: nobody sees it before,
    // and the window appears sooner.
    if (FAbout == nullptr && FEnv.AboutFactory) {
        FAbout = FEnv.AboutFactory(this);
    }
    if (FAbout != nullptr) {
        FAbout->Open();
    }
}

void TZunMain::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's menu opens at the release of the right click (TMenuOnRelease),
    // whenever the platform reports the click; the menu key's at once.
    if (event->reason() != QContextMenuEvent::Mouse) {
        PopupMenu1->popup(event->globalPos());
    }
    event->accept();
}

} // namespace pellix
