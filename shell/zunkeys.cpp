#include "zunmain.h"

#include "keymap.h"
#include "keypad/keyboard.h"

#include <QKeyEvent>

// The main window's keys: hot spots pressed with the mouse, and the keyboard's
// keys shown pressed on the face as they act.

namespace pellix {

void TZunMain::KeyClick(THotSpot* sender) {
    const FaceKey* key = sender->Key();
    if (key == nullptr || key->Kind != SpotKind::Key) {
        return;
    }
    Entry.Press(key->Code);
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

} // namespace pellix
