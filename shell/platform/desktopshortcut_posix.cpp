#include "desktopshortcut.h"

#include "desktoplauncher.h"
#include "problemreport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QSaveFile>
#include <QStandardPaths>

namespace pellix {

namespace {

constexpr const char* IconName = "pellix";

// Writes our freedesktop launcher, marked executable.
void CreateLauncher(const QString& file, const QString& target, const QString& linkName,
                    const QString& description) {
    if (const QString problem = LauncherPathProblem(target); !problem.isEmpty()) {
        ReportProblem(QStringLiteral("no desktop launcher written: ") + problem);
        return;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    const QByteArray bytes =
        DesktopEntryText(target, linkName, description, InstalledIcon(target)).toUtf8();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return;
    }
    if (!out.commit())
        return;
    // Marked executable like "chmod +x": owner always, group and others where
    // they may read it.
    QFileDevice::Permissions p = QFile::permissions(file);
    p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (p & QFileDevice::ReadGroup)
        p |= QFileDevice::ExeGroup;
    if (p & QFileDevice::ReadOther)
        p |= QFileDevice::ExeOther;
    QFile::setPermissions(file, p);
}

} // namespace

// The shortcut is a freedesktop launcher "<name>.desktop" (desktoplauncher.h).

// The desktop location of the freedesktop user folders (honours XDG_DESKTOP_DIR).
QString DesktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString ShortcutFileName(const QString& linkName, const QString& folder) {
    if (folder.isEmpty() || linkName.isEmpty())
        return {};
    QString file = folder;
    if (!file.endsWith(QLatin1Char('/')))
        file += QLatin1Char('/');
    return file + linkName + QStringLiteral(".desktop");
}

bool ShortcutExists(const QString& linkName, const QString& folder) {
    const QString file = ShortcutFileName(linkName, folder);
    if (file.isEmpty())
        return false;
    // A link counts even when it points nowhere; a folder of that name is no
    // shortcut.
    const QFileInfo info(file);
    return info.isSymLink() || (info.exists() && !info.isDir());
}

// Nothing is reported but a target that cannot stand in a launcher (see
// LauncherPathProblem); nothing is thrown.
void ToggleShortcut(const QString& target, const QString& linkName, const QString& description,
                    const QString& folder) {
    try {
        const QString file = ShortcutFileName(linkName, folder);
        if (file.isEmpty())
            return;
        if (ShortcutExists(linkName, folder))
            QFile::remove(file);
        else
            CreateLauncher(file, target, linkName, description);
    } catch (...) {
        // Not reported: ShortcutExists shows what is there.
    }
}

QLatin1String ShortcutLineBreak() {
    return QLatin1String("\n");
}

QString LauncherPathProblem(const QString& target) {
    if (target.isEmpty())
        return QStringLiteral("the program's path is unknown");
    for (const QChar c : target) {
        // U+FFFD stands for bytes that were not UTF-8 when the path was decoded.
        if (c == QChar::ReplacementCharacter)
            return QStringLiteral("the program's path is not valid UTF-8: ") + target;
        const bool escaped =
            c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if ((c.unicode() < 0x20 && !escaped) || c.unicode() == 0x7F)
            return QStringLiteral("the program's path holds a control character: ") + target;
    }
    return {};
}

QString DesktopStringValue(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char(' ') && (i == 0 || i == text.size() - 1))
            out += QLatin1String("\\s"); // readers trim blanks around a value
        else
            out += c;
    }
    return out;
}

QString DesktopExecValue(const QString& program) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    if (program.contains(QLatin1Char('%'))) {
        // GLib's launchers look for the program before they undo "%%", and
        // find no file of that name: a shell started by name runs it instead,
        // the path as its $0 ("env" would take a path with '=' for a variable).
        quoted.prepend(QLatin1String(R"(sh -c "exec \"\$0\"" )"));
        quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    }
    return DesktopStringValue(quoted);
}

QString DesktopEntryText(const QString& target, const QString& linkName, const QString& description,
                         const QString& icon) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + DesktopStringValue(linkName) + QLatin1Char('\n');
    text += QStringLiteral("Comment=") + DesktopStringValue(description) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + DesktopExecValue(target) + QLatin1Char('\n');
    text += QStringLiteral("Path=") + DesktopStringValue(QFileInfo(target).absolutePath()) +
            QLatin1Char('\n');
    if (!icon.isEmpty())
        text += QStringLiteral("Icon=") + DesktopStringValue(icon) + QLatin1Char('\n');
    return text;
}

QString InstalledIcon(const QString& target) {
    if (!target.isEmpty()) {
        QDir prefix = QFileInfo(target).absoluteDir();
        if (prefix.cdUp()) {
            const QString name = QLatin1String(IconName);
            const QString candidates[] = {
                QStringLiteral("share/icons/hicolor/scalable/apps/") + name +
                    QStringLiteral(".svg"),
                QStringLiteral("share/icons/hicolor/256x256/apps/") + name + QStringLiteral(".png"),
                QStringLiteral("share/icons/hicolor/128x128/apps/") + name + QStringLiteral(".png"),
                QStringLiteral("share/icons/hicolor/64x64/apps/") + name + QStringLiteral(".png"),
                QStringLiteral("share/icons/hicolor/48x48/apps/") + name + QStringLiteral(".png"),
                QStringLiteral("share/icons/hicolor/32x32/apps/") + name + QStringLiteral(".png"),
                QStringLiteral("share/pixmaps/") + name + QStringLiteral(".svg"),
                QStringLiteral("share/pixmaps/") + name + QStringLiteral(".png"),
            };
            for (const QString& c : candidates) {
                const QFileInfo icon(prefix.filePath(c));
                if (icon.isFile())
                    return icon.absoluteFilePath();
            }
        }
    }
    // The icon theme needs a GUI application.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        QIcon::hasThemeIcon(QLatin1String(IconName)))
        return QLatin1String(IconName);
    return {};
}

} // namespace pellix
