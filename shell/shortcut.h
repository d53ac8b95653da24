#pragma once

#include "seam/vendor.h"
#include "shell/platform/desktopshortcut.h"

#include <QString>

#include <functional>

namespace pellix {

// When the program's desktop shortcut is made or removed. The shortcut is a
// file in a folder (the user's desktop folder in the program; a temporary
// folder in tests), kept by the platform (desktopshortcut.h).

inline constexpr const char* ShortcutLinkName = ProgramName;

// At a first run: creates the shortcut when none exists; never deletes one.
void PlaceShortcutOnFirstRun(const QString& target, const QString& linkName,
                             const QString& description, const QString& folder);

// The program's name, a line break and the web address.
QString ShortcutDescription();

// The menu item "Show On Desktop": toggles the program's shortcut in `folder`,
// then sets the check mark from ShortcutExists. A fault of the toggle (a shell
// link that cannot be made) is passed on after the check mark is set.
void ShowOnDesktopClick(const std::function<void(bool checked)>& setCheckMark,
                        const QString& target, const QString& folder);

// Start-up, after the settings are loaded: at a first run (lastShowAbout
// exactly -1) places the program's shortcut when none is there. Returns
// ShortcutExists afterwards, the check mark. Never deletes a shortcut, and
// never fails.
bool ShortcutAtStart(double lastShowAbout, const QString& target, const QString& folder);

} // namespace pellix
