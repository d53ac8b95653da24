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
    // A shell link that cannot be made raises its fault for the caller.
    const win::TComApartment com;
    win::ToggleShortcut(Native(target), linkName.toStdWString(), description.toStdWString(),
                        Native(folder));
}

QLatin1String ShortcutLineBreak() {
    return QLatin1String("\r\n");
}

} // namespace pellix
