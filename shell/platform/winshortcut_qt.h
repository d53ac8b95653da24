#pragma once

// The desktop shortcut on Windows for the shell's shortcut functions
// (shortcut.h): a shell link "<name>.lnk" made through the shell-link object.
// Windows only.

#include <QString>

namespace pellix::winqt {

// The current user's desktop folder: CSIDL_DESKTOPDIRECTORY (0x10) through
// SHGetSpecialFolderLocation and SHGetPathFromIDListW; empty when not found.
QString DesktopFolder();

// `folder`, "\", `linkName` and ".lnk"; empty when `folder` or `linkName` is empty.
QString ShortcutFileName(const QString& linkName, const QString& folder);

// Whether that file exists (a folder of that name is no shortcut).
bool ShortcutExists(const QString& linkName, const QString& folder);

// Creates the shell-link object (CLSID_ShellLink, with IShellLinkW and
// IPersistFile), sets target, working folder (with its trailing backslash) and
// description, then deletes the shortcut file when there is one, else saves
// the object as that file. COM is initialised on the calling thread for the
// call when it is not yet. A missing object or interface throws
// win::EComFault ("<system text>, ClassID: {…}") before anything changes on
// disk; failed saves and deletions are not reported.
void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder);

} // namespace pellix::winqt
