#pragma once

// The program's desktop shortcut as the platform keeps it: a freedesktop
// launcher "<name>.desktop" (desktoplauncher.h), or on Windows a shell link
// "<name>.lnk" made through the shell-link object. When to create or remove
// it is the shell's (shortcut.h).

#include <QString>

namespace pellix {

// The user's desktop folder: the desktop location of the freedesktop user
// folders (honours XDG_DESKTOP_DIR); on Windows CSIDL_DESKTOPDIRECTORY (0x10)
// through SHGetSpecialFolderLocation and SHGetPathFromIDListW, empty when not
// found.
QString DesktopFolder();

// The shortcut's file: `folder`, a separator, `linkName` and ".desktop" (on
// Windows "\" and ".lnk"); empty when `folder` or `linkName` is empty (never
// the current or the root folder).
QString ShortcutFileName(const QString& linkName, const QString& folder);

// Whether the shortcut file of `linkName` lies in `folder` (a folder of that
// name is no shortcut).
bool ShortcutExists(const QString& linkName, const QString& folder);

// Deletes whatever shortcut file of that name lies in `folder`, or creates one
// that starts `target` with the given description; ShortcutExists tells the
// truth afterwards.
//
// A launcher is written marked executable; nothing is reported but a target
// that cannot stand in a launcher (see LauncherPathProblem). On Windows the
// shell-link object (CLSID_ShellLink, with IShellLinkW and IPersistFile) gets
// target, working folder (with its trailing backslash) and description, then
// the file is deleted when there is one, else the object is saved as that
// file; COM is initialised on the calling thread for the call when it is not
// yet. A missing object or interface throws win::EComFault ("<system text>,
// ClassID: {…}") before anything changes on disk; failed saves and deletions
// are not reported.
void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder);

// The line break inside a shortcut's description: "\n", on Windows "\r\n".
QLatin1String ShortcutLineBreak();

} // namespace pellix
