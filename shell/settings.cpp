#include "settings.h"

#include "enginekeys.h"

#include "shortcut.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pellix {

namespace {

constexpr std::string_view Section = SettingsSection;

constexpr std::string_view LeftKey = "Left";
constexpr std::string_view TopKey = "Top";
constexpr std::string_view SoundKey = "Sound";
constexpr std::string_view LastShowAboutKey = "lastShowAbout";
constexpr std::string_view StayOnTopKey = "StayOnTop";
constexpr std::string_view TotalScaleKey = "TotalScale";

std::filesystem::path PathOf(const QString& fileName) {
#ifdef _WIN32
    return std::filesystem::path(fileName.toStdWString());
#else
    const QByteArray local = QFile::encodeName(fileName);
    return std::filesystem::path(
        std::string(local.constData(), static_cast<std::size_t>(local.size())));
#endif
}

// Sets FLoading for the lifetime of a load, also when the host throws.
class TLoadingScope {
public:
    explicit TLoadingScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TLoadingScope() { FFlag = false; }
    TLoadingScope(const TLoadingScope&) = delete;
    TLoadingScope& operator=(const TLoadingScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

TSettings::TSettings(QString cfgFileName, TZunCalc& zun, ISettingsHost& host, QString desktopFolder)
    : FCFGFileName(std::move(cfgFileName)), FZun(zun), FHost(host),
      FDesktopFolder(std::move(desktopFolder)) {}

std::string TSettings::DecimalSeparator() const {
    const QString sep = FDecimal.isEmpty() ? QLocale::system().decimalPoint() : FDecimal;
    return sep.isEmpty() ? std::string(".") : sep.toStdString();
}

void TSettings::LoadSettings() {
    TLoadingScope loading(FLoading);

    // A missing file reads as an empty one; so does one that cannot be read.
    TIniDocument doc;
    if (!FCFGFileName.isEmpty()) {
        if (auto loaded = LoadIniFile(PathOf(FCFGFileName)))
            doc = std::move(*loaded);
    }
    const std::string sep = DecimalSeparator();

    const QPoint pos = FHost.WindowPos();
    FKept.Clear();
    const std::int32_t left = FKept.ReadInteger(doc, Section, LeftKey, pos.x());
    const std::int32_t top = FKept.ReadInteger(doc, Section, TopKey, pos.y());
    FHost.SetWindowPos(QPoint(left, top));

    FHost.SetSound((FKept.ReadInteger(doc, Section, SoundKey, FHost.IsSound() ? 1 : 0) & 0xFF) !=
                   0);

    ReadEngineKeys(doc, FZun, sep, FKept);

    FHost.SyncTrigCaption();

    FHost.SetLastShowAbout(
        FKept.ReadFloat(doc, Section, LastShowAboutKey, FHost.LastShowAbout(), sep));

    FHost.SetShowOnDesktopChecked(ShortcutExists(ShortcutLinkName, FDesktopFolder));

    // Through the setter, whose own store does nothing while loading.
    FHost.SetStayOnTop(FKept.ReadInteger(doc, Section, StayOnTopKey, FHost.StayOnTop() ? 1 : 0) !=
                       0);

    FHost.SetTotalScale(FKept.ReadFloat(doc, Section, TotalScaleKey, FHost.TotalScale(), sep));
}

void TSettings::StoreSettings() {
    if (FLoading || FCFGFileName.isEmpty())
        return;
    try {
        const std::filesystem::path path = PathOf(FCFGFileName);
        // What cannot be read is not overwritten: it may hold more than we see.
        std::optional<TIniDocument> doc = LoadIniFile(path);
        if (!doc)
            return;
        const std::string sep = DecimalSeparator();

        // One edit of the document gives the same text as writing the keys one
        // by one into the file, in this order.
        const QPoint pos = FHost.WindowPos();
        FKept.WriteInteger(*doc, Section, LeftKey, pos.x());
        FKept.WriteInteger(*doc, Section, TopKey, pos.y());
        WriteEngineModes(*doc, FZun, FKept);
        FKept.WriteInteger(*doc, Section, SoundKey, FHost.IsSound() ? 1 : 0);
        WriteEngineValues(*doc, FZun, sep, FKept);
        FKept.WriteFloat(*doc, Section, LastShowAboutKey, FHost.LastShowAbout(), sep);
        FKept.WriteInteger(*doc, Section, StayOnTopKey, FHost.StayOnTop() ? 1 : 0);
        FKept.WriteFloat(*doc, Section, TotalScaleKey, FHost.TotalScale(), sep);

        // Failures leave the file as it was and are not reported.
        SaveIniFile(path, *doc, FSaveHooks);
    } catch (...) {
        // A store never disturbs the program, whatever went wrong.
    }
}

QString CFGFileNameFor(const QString& exePath) {
    if (exePath.isEmpty())
        return {};
    qsizetype nameStart = exePath.lastIndexOf(QLatin1Char('/')) + 1;
#ifdef _WIN32
    nameStart = std::max(nameStart, exePath.lastIndexOf(QLatin1Char('\\')) + 1);
#endif
    const qsizetype dot = exePath.lastIndexOf(QLatin1Char('.'));
    if (dot > nameStart)
        return exePath.left(dot) + QStringLiteral(".ini");
    return exePath + QStringLiteral(".ini");
}

QString SettingsFileFor(const QString& beside, const QString& configFolder) {
    const QFileInfo info(beside);
    if (info.exists() || QFileInfo(info.absolutePath()).isWritable() || configFolder.isEmpty())
        return beside;
    return QDir(configFolder).filePath(info.fileName());
}

QString DefaultCFGFileName() {
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QString file =
        SettingsFileFor(CFGFileNameFor(QCoreApplication::applicationFilePath()), configFolder);
    if (!file.startsWith(configFolder))
        return file;
    QDir().mkpath(configFolder);
    return file;
}

} // namespace pellix
