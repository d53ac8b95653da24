#pragma once

#include <QString>

#include <functional>

namespace pellix {

// The program's desktop shortcut: a launcher file in a folder (the user's
// desktop folder in the program; a temporary folder in tests).

inline constexpr const char* ShortcutLinkName = "Pellix";

// The user's desktop folder (honours XDG_DESKTOP_DIR).
QString DesktopFolder();

// Whether the shortcut file of `linkName` lies in `folder`.
bool ShortcutExists(const QString& linkName, const QString& folder);

// Deletes whatever shortcut file of that name lies in `folder`, or creates one
// that starts `target` with the given description. Failures are not reported;
// ShortcutExists tells the truth afterwards.
void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder);

// At a first run: creates the shortcut when none exists; never deletes one.
void PlaceShortcutOnFirstRun(const QString& target, const QString& linkName,
                             const QString& description, const QString& folder);

// "Pellix", a line break and the web address.
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

// The launcher's file: `folder`, "/", `linkName` and ".desktop"; empty when
// `folder` is empty (never the current or the root folder).
QString ShortcutFileName(const QString& linkName, const QString& folder);

// The launcher's text: a "Desktop Entry" group with Type, Name, Comment, Exec,
// Path and (when `icon` is not empty) Icon.
QString DesktopEntryText(const QString& target, const QString& linkName, const QString& description,
                         const QString& icon);

// Why target cannot stand in a launcher's Exec and Path keys (whose values
// are UTF-8 text without control characters but tab and line breaks); empty
// when it can. A launcher is then not written, and the reason goes to stderr.
QString LauncherPathProblem(const QString& target);

// A value of the Desktop Entry string type: backslash, line break, tab and
// carriage return escaped, leading and trailing spaces as "\s".
QString DesktopStringValue(const QString& text);

// The Exec value that starts `program` without arguments: the path quoted in
// double quotes (with '"', '`', '$' and '\' escaped inside), '%' doubled, then
// escaped as a string value.
QString DesktopExecValue(const QString& program);

// The icon the launcher names for `target`: an icon installed under the
// executable's prefix (<prefix>/bin/<target>: <prefix>/share/icons/hicolor or
// <prefix>/share/pixmaps) as an absolute path, else "pellix" when the icon
// theme has it, else empty.
QString InstalledIcon(const QString& target);

} // namespace pellix
