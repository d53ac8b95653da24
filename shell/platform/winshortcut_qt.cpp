#include "winshortcut_qt.h"

#include "winshortcut.h"

#include <QDir>

#include <string>

namespace pellix::winqt {

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
    const win::TComApartment com;
    win::ToggleShortcut(Native(target), linkName.toStdWString(), description.toStdWString(),
                        Native(folder));
}

} // namespace pellix::winqt
