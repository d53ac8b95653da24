#include "desktopshortcut.h"

#include "shell/win/winshortcut.h"

#include <QDir>

#include <string>

namespace pellix {

namespace {

std::wstring Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

} // namespace

// The shortcut is a shell link "<name>.lnk" made through the shell-link object.

// CSIDL_DESKTOPDIRECTORY (0x10) through SHGetSpecialFolderLocation and
// SHGetPathFromIDListW.
QString DesktopFolder() {
    return QString::fromStdWString(win::SpecialFolderPath(win::CsidlDesktopDirectory));
}

QString ShortcutFileName(const QString& linkName, const QString& folder) {
    return QString::fromStdWString(win::ShortcutFileName(linkName.toStdWString(), Native(folder)));
}

bool ShortcutExists(const QString& linkName, const QString& folder) {
    return win::ShortcutExists(linkName.toStdWString(), Native(folder));
}

void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder) {
    // The shell-link object (CLSID_ShellLink, with IShellLinkW and
    // IPersistFile) gets target, working folder (with its trailing backslash)
    // and description; then the file is deleted when there is one, else the
    // object is saved as that file. COM is initialised on the calling thread
    // for the call when it is not yet. A missing object or interface throws
    // win::EComFault ("<system text>, ClassID: {…}") before anything changes on
    // disk, for the caller.
    const win::TComApartment com;
    win::ToggleShortcut(Native(target), linkName.toStdWString(), description.toStdWString(),
                        Native(folder));
}

QLatin1String ShortcutLineBreak() {
    return QLatin1String("\r\n");
}

} // namespace pellix
