#pragma once

#include "keytable.h"

#include <QString>

namespace pellix {

class TFaceLabel;

// Shows the calculator to assistive technology: the window as a frame, every
// hot spot as a push button with the one action "Press", the face labels as
// read-only text. Installed once, before the first interface is asked for.
void InstallFaceAccessibility();

// Tells assistive technology that a label's text changed, so that a screen
// reader can speak the new display or annunciator.
void NotifyCaptionChanged(TFaceLabel& label, const QString& oldText);

// What a keyboard user types for a key: the letter painted beside it, else its
// character in the keyboard table; empty when no typed key reaches it.
QString KeyBindingOf(const FaceKey* key);

} // namespace pellix
