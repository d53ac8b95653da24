#include "settings.h"

#include "enginekeys.h"

#include "problemreport.h"
#include "shortcut.h"
#include "systemseparators.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef _WIN32
#include <unistd.h>
#endif

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

QString DisplayName(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

bool FolderWritable(const std::filesystem::path& folder) {
#ifdef _WIN32
    return QFileInfo(DisplayName(folder)).isWritable();
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

} // namespace

TSettingsFiles::TSettingsFiles(const QString& file) {
    if (!file.isEmpty())
        File = PathOf(file);
}

TSettings::TSettings(TSettingsFiles files, TZunCalc& zun, ISettingsHost& host,
                     QString desktopFolder)
    : FFiles(std::move(files)), FZun(zun), FHost(host), FDesktopFolder(std::move(desktopFolder)) {}

QString TSettings::CFGFileName() const {
    return DisplayName(FFiles.File);
}

std::string TSettings::DecimalSeparator() const {
    std::string sep = FDecimal.isEmpty() ? SystemSeparators().Decimal : FDecimal.toStdString();
    return sep.empty() ? std::string(".") : sep;
}

void TSettings::LoadSettings() {
    TLoadingScope loading(FLoading);

    // A missing file reads as an empty one; so does one that cannot be read.
    TIniDocument doc;
    if (!FFiles.File.empty()) {
        if (auto loaded = LoadIniFile(FFiles.File))
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
    if (FLoading || FFiles.File.empty())
        return;
    try {
        // What cannot be read is not overwritten: it may hold more than we see.
        std::optional<TIniDocument> doc = LoadIniFile(FFiles.File);
        if (!doc) {
            ReportProblem(
                QStringLiteral("cannot read the settings file '%1'; it was left unchanged")
                    .arg(CFGFileName()));
            return;
        }
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

        Save(*doc);
    } catch (...) {
        // A store never disturbs the program, whatever went wrong.
    }
}

bool TSettings::Save(const TIniDocument& doc) {
    TIniSaveFailure failure;
    if (SaveIniFile(FFiles.File, doc, FSaveHooks, &failure))
        return true;
    if (failure.NotReplaceable && !FFiles.Fallback.empty() && FFiles.Fallback != FFiles.File) {
        std::error_code ec;
        std::filesystem::create_directories(FFiles.Fallback.parent_path(), ec);
        TIniSaveFailure fallbackFailure;
        if (SaveIniFile(FFiles.Fallback, doc, FSaveHooks, &fallbackFailure)) {
            // From now on the copy is the settings file.
            FFiles = TSettingsFiles(std::move(FFiles.Fallback), {});
            return true;
        }
        ReportProblem(QStringLiteral("cannot store the settings in '%1' (%2) nor in '%3' (%4)")
                          .arg(CFGFileName(), QString::fromStdString(failure.Reason),
                               DisplayName(FFiles.Fallback),
                               QString::fromStdString(fallbackFailure.Reason)));
        return false;
    }
    ReportProblem(QStringLiteral("cannot store the settings in '%1': %2")
                      .arg(CFGFileName(), QString::fromStdString(failure.Reason)));
    return false;
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

std::filesystem::path CFGFileNameFor(const std::filesystem::path& exePath) {
    if (exePath.empty())
        return {};
    std::filesystem::path ini = exePath;
    ini.replace_extension(".ini");
    return ini;
}

std::filesystem::path ExecutablePath() {
    // The link gives the bytes where Qt would have to decode them.
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        exe = PathOf(QCoreApplication::applicationFilePath());
    return exe;
}

TSettingsFiles SettingsFilesFor(const std::filesystem::path& beside,
                                const std::filesystem::path& configFolder) {
    if (configFolder.empty())
        return {beside, {}};
    std::filesystem::path copy = configFolder / beside.filename();
    std::error_code ec;
    if (std::filesystem::exists(copy, ec))
        return {std::move(copy), {}};
    if (std::filesystem::exists(beside, ec) || FolderWritable(beside.parent_path()))
        return {beside, std::move(copy)};
    return {std::move(copy), {}};
}

TSettingsFiles DefaultSettingsFiles() {
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    TSettingsFiles files =
        SettingsFilesFor(CFGFileNameFor(ExecutablePath()),
                         configFolder.isEmpty() ? std::filesystem::path() : PathOf(configFolder));
    if (files.Fallback.empty() && !configFolder.isEmpty())
        QDir().mkpath(configFolder);
    return files;
}

} // namespace pellix
