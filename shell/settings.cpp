#include "settings.h"

#include "problemreport.h"
#include "settingspaths.h"
#include "systemseparators.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <filesystem>
#include <optional>
#include <string>

namespace pellix {

namespace {

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

TSettingsFiles::TSettingsFiles(const QString& file) {
    if (!file.isEmpty())
        File = SystemPath(file);
}

TSettings::TSettings(TSettingsFiles files, TZunCalc& zun, ISettingsHost& host)
    : FFiles(std::move(files)), FZun(zun), FHost(host) {}

QString TSettings::CFGFileName() const {
    return DisplayPath(FFiles.File);
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

    TWindowSettings window = FHost.WindowSettings();
    FKept.Clear();
    ReadSettings(doc, {FZun, &window}, sep, FKept);
    FHost.SetWindowSettings(window);
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

        TWindowSettings window = FHost.WindowSettings();
        WriteSettings(*doc, {FZun, &window}, sep, FKept);
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
                               DisplayPath(FFiles.Fallback),
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
    const qsizetype nameStart = FileNameStart(exePath);
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
        exe = SystemPath(QCoreApplication::applicationFilePath());
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
    TSettingsFiles files = SettingsFilesFor(CFGFileNameFor(ExecutablePath()),
                                            configFolder.isEmpty() ? std::filesystem::path()
                                                                   : SystemPath(configFolder));
    if (files.Fallback.empty() && !configFolder.isEmpty())
        QDir().mkpath(configFolder);
    return files;
}

} // namespace pellix
