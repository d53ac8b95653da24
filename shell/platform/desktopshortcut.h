#pragma once

// The program's desktop shortcut as the platform keeps it: a file that starts
// the program, of the kind the platform's desktop shows as such. When to
// create or remove it is the shell's (shortcut.h). What each platform's file
// is and how it is made is said in its source.

#include <QString>

namespace pellix {

// The user's desktop folder; empty when not found.
QString DesktopFolder();

// The shortcut's file: `folder`, the platform's folder separator, `linkName`
// and the platform's extension of shortcut files; empty when `folder` or
// `linkName` is empty (never the current or the root folder).
QString ShortcutFileName(const QString& linkName, const QString& folder);

// Whether the shortcut file of `linkName` lies in `folder` (a folder of that
// name is no shortcut).
bool ShortcutExists(const QString& linkName, const QString& folder);

// Deletes whatever shortcut file of that name lies in `folder`, or creates one
// that starts `target` with the given description; ShortcutExists tells the
// truth afterwards. Where the system cannot make shortcuts at all, the fault
// is thrown before anything changes on disk; a save or deletion that fails
// is not.
void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder);

// The platform's line break inside a shortcut's description.
QLatin1String ShortcutLineBreak();

} // namespace pellix
