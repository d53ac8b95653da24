#include "settings.h"

#include "base/hashname.h"
#include "base/tempfile.h"
#include "engine/systemseparators.h"
#include "seam/filepath.h"
#include "shell/platform/problemreport.h"
#include "shell/platform/settingspaths.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdint>
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
        const TFileLock lock(FFiles.File);
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
        // Others' changes since the load are kept where this store writes none.
        const TFileLock lock(FFiles.File);
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
        if (!FFiles.CopyOf.empty())
            doc->WriteString(CopySection, CopyOfKey, CopyOfValue(FFiles.CopyOf));
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
        TIniDocument copy = doc;
        copy.WriteString(CopySection, CopyOfKey, CopyOfValue(FFiles.File));
        TIniSaveFailure fallbackFailure;
        // The lock of File's folder is held already; a second one would wait for ever.
        std::optional<TFileLock> lock;
        if (FFiles.Fallback.parent_path() != FFiles.File.parent_path())
            lock.emplace(FFiles.Fallback);
        if (SaveIniFile(FFiles.Fallback, copy, FSaveHooks, &fallbackFailure)) {
            // From now on the copy is the settings file.
            FFiles = TSettingsFiles(std::move(FFiles.Fallback), {}, std::move(FFiles.File));
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

std::filesystem::path CFGFileNameFor(const std::filesystem::path& exePath) {
    if (exePath.empty())
        return {};
    std::filesystem::path ini = exePath;
    ini.replace_extension(".ini");
    return ini;
}

std::string CopyOfValue(const std::filesystem::path& file) {
    constexpr std::string_view Hex = "0123456789ABCDEF";
    std::string value;
    for (const auto c : file.u8string()) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= ' ' || b >= 0x7F || c == '%') {
            value += '%';
            value += Hex[b >> 4];
            value += Hex[b & 0xF];
        } else {
            value += static_cast<char>(c);
        }
    }
    return value;
}

namespace {

bool Replaceable(const std::filesystem::path& file) {
    std::error_code ec;
    return FolderWritable(file.parent_path()) &&
           (!std::filesystem::exists(file, ec) || FileWritable(file));
}

// The copy in configFolder that stands in for the file beside.
std::filesystem::path CopyFor(const std::filesystem::path& beside,
                              const std::filesystem::path& configFolder, bool besideReplaceable) {
    std::filesystem::path copy = configFolder / beside.filename();
    std::error_code ec;
    if (!std::filesystem::exists(copy, ec))
        return copy;
    const std::optional<TIniDocument> doc = LoadIniFile(copy);
    const std::optional<std::string> of =
        doc ? doc->ReadString(CopySection, CopyOfKey) : std::nullopt;
    const std::string mine = CopyOfValue(beside);
    if (of ? *of == mine : !besideReplaceable)
        return copy;
    std::filesystem::path name = beside.stem();
    name += "-" + HashName(std::string_view(mine));
    name += beside.extension();
    return configFolder / name;
}

} // namespace

TSettingsFiles SettingsFilesFor(const std::filesystem::path& beside,
                                const std::filesystem::path& configFolder) {
    if (configFolder.empty())
        return {beside, {}};
    const bool replaceable = Replaceable(beside);
    std::filesystem::path copy = CopyFor(beside, configFolder, replaceable);
    std::error_code ec;
    if (replaceable)
        return {beside, std::move(copy)};
    if (std::filesystem::exists(copy, ec))
        return {std::move(copy), {}, beside};
    if (std::filesystem::exists(beside, ec) || FolderWritable(beside.parent_path()))
        return {beside, std::move(copy)};
    return {std::move(copy), {}, beside};
}

TSettingsFiles DefaultSettingsFiles() {
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    TSettingsFiles files = SettingsFilesFor(CFGFileNameFor(ProgramFile()),
                                            configFolder.isEmpty() ? std::filesystem::path()
                                                                   : SystemPath(configFolder));
    if (files.Fallback.empty() && !configFolder.isEmpty())
        QDir().mkpath(configFolder);
    return files;
}

} // namespace pellix
