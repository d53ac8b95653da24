#pragma once

// The freedesktop launcher behind the desktop shortcut where it is one (not on
// Windows): the parts of its text, built by desktopshortcut_posix.cpp.

#include <QString>

namespace pellix {

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
// double quotes (with '"', '`', '$' and '\' escaped inside), then escaped as a
// string value. A path with '%' (written "%%") is handed to `sh -c 'exec "$0"'`,
// so that the program the launcher names is one that exists.
QString DesktopExecValue(const QString& program);

// The icon the launcher names for `target`: an icon installed under the
// executable's prefix (<prefix>/bin/<target>: <prefix>/share/icons/hicolor or
// <prefix>/share/pixmaps) as an absolute path, else "pellix" when the icon
// theme has it, else empty.
QString InstalledIcon(const QString& target);

} // namespace pellix
