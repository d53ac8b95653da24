#pragma once

#include "keypad/keytable.h"

#include <QString>

#include <string_view>

namespace pellix {

class TFaceLabel;
struct TFaceNames;

// Shows the calculator to assistive technology: the window as a frame, every
// hot spot as a push button with the one action "Press", the face labels as
// read-only text. Installed once, before the first interface is asked for.
void InstallFaceAccessibility();

// Tells assistive technology that a label's text changed. Once the key that
// changed it is done, a screen reader hears the new display and the
// annunciators that came on or went out.
void NotifyCaptionChanged(TFaceLabel& label, const QString& oldText);

// The display's description and the texts its announcements use.
void SetDisplayNames(TFaceLabel& display, const TFaceNames& names);

// The display's text as a listener hears it: without the entry cursor.
QString SpokenDisplay(const QString& shown);

// A legend or shifted function of the face in words where it is a symbol a
// screen reader would misread ("x\u2277y" is "exchange x and y"); others as printed.
QString SpokenLegend(std::string_view printed);

// What a keyboard user types for a key: the letter painted beside it, else its
// character in the keyboard table; empty when no typed key reaches it.
QString KeyBindingOf(const FaceKey* key);

} // namespace pellix
