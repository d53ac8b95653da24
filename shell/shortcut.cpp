#include "shortcut.h"

#include "seam/vendor.h"

namespace pellix {

namespace {

constexpr double NoStartRecorded = -1;

} // namespace

void PlaceShortcutOnFirstRun(const QString& target, const QString& linkName,
                             const QString& description, const QString& folder) {
    if (!ShortcutExists(linkName, folder))
        ToggleShortcut(target, linkName, description, folder);
}

QString ShortcutDescription() {
    return QLatin1String(ProgramName) + ShortcutLineBreak() + QLatin1String(WebAddress);
}

void ShowOnDesktopClick(const std::function<void(bool checked)>& setCheckMark,
                        const QString& target, const QString& folder) {
    const QString name = QLatin1String(ShortcutLinkName);
    try {
        ToggleShortcut(target, name, ShortcutDescription(), folder);
    } catch (...) {
        // The fault goes on to the caller; the check mark tells the truth anyway.
        setCheckMark(ShortcutExists(name, folder));
        throw;
    }
    setCheckMark(ShortcutExists(name, folder));
}

bool ShortcutAtStart(double lastShowAbout, const QString& target, const QString& folder) {
    const QString name = QLatin1String(ShortcutLinkName);
    if (lastShowAbout == NoStartRecorded) {
        try {
            PlaceShortcutOnFirstRun(target, name, ShortcutDescription(), folder);
        } catch (...) {
            // Start-up goes on without a shortcut; the check mark says so.
        }
    }
    return ShortcutExists(name, folder);
}

} // namespace pellix
