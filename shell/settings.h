#pragma once

#include "engine/zuncalc.h"
#include "ini/inifile.h"
#include "ini/kepttexts.h"
#include "settingshost.h"

#include <QString>

#include <filesystem>
#include <utility>

namespace pellix {

// Where the settings are read and written, as the system's own bytes.
struct TSettingsFiles {
    TSettingsFiles() = default;
    // A file given by name, without fallback; implicit, so that a name can
    // stand wherever the settings files are asked for.
    TSettingsFiles(const QString& file);
    TSettingsFiles(std::filesystem::path file, std::filesystem::path fallback,
                   std::filesystem::path copyOf = {})
        : File(std::move(file)), Fallback(std::move(fallback)), CopyOf(std::move(copyOf)) {}

    std::filesystem::path File;
    // Where the settings move when File exists but cannot be replaced (the
    // copy in the user's configuration folder); empty for none.
    std::filesystem::path Fallback;
    // When File is such a copy: the program's own file it stands in for,
    // recorded in the copy at each store (see CopyOfKey); else empty.
    std::filesystem::path CopyOf;
};

// The key of a copy in the configuration folder that names the file it
// stands in for (its bytes, with '%', blanks, controls and non-ASCII bytes
// as %XX). A copy without it was made before the key existed.
inline constexpr std::string_view CopySection = "Pellix";
inline constexpr std::string_view CopyOfKey = "CopyOf";
std::string CopyOfValue(const std::filesystem::path& file);

// The settings file: section "ZunMain" with the window's and the engine's
// state. Read once at start-up, written completely at the store events.
class TSettings {
public:
    TSettings(TSettingsFiles files, TZunCalc& zun, ISettingsHost& host);

    // Reads the file into the engine and the window's values (see
    // SettingsSchema); missing or unreadable values keep the current ones, and
    // a stored text that does not read stays in the file until its key gets a
    // value other than the one kept. Stores made meanwhile do nothing.
    void LoadSettings();

    // Writes every key of the schema; does nothing while loading. Never throws; a file
    // that cannot be written is left as it was. When it exists but cannot be
    // replaced (read-only file or folder), the settings go to the fallback,
    // created from it, which is read and written from then on; any other
    // failure is reported on stderr.
    void StoreSettings();

    bool Loading() const { return FLoading; }
    QString CFGFileName() const;

    // Separator of the float values. Empty (the default) means the system
    // locale's, looked up at each load and store.
    void SetDecimalSeparator(QString sep) { FDecimal = std::move(sep); }

    // Replaceable steps of the safe save; tests simulate failures with them.
    void SetSaveHooks(TIniSaveHooks hooks) { FSaveHooks = std::move(hooks); }

private:
    TSettingsFiles FFiles;
    TZunCalc& FZun;
    ISettingsHost& FHost;
    QString FDecimal;
    TIniSaveHooks FSaveHooks;
    TKeptTexts FKept; // stored texts that did not read at the load
    bool FLoading = false;

    std::string DecimalSeparator() const;
    bool Save(const TIniDocument& doc);
};

// The settings files of the running executable. Its own file lies beside it
// (its extension replaced by ".ini"); its copy in the user's configuration
// folder is "pellix.ini" there, unless that one stands in for another
// program's file: then "pellix-<16 hex digits of the file's name>.ini". A
// copy made before copies named their file stands in for any program whose
// own file cannot be replaced. The own file is used, with the copy as
// fallback, where it can be replaced (it, if it exists, and its folder are
// writable); else the copy when it exists; else the own file with the copy as
// fallback where the file exists or its folder is writable; else the copy.
// Paths are the system's bytes, also where they are not valid UTF-8.
TSettingsFiles DefaultSettingsFiles();

// The rule above for the file beside the executable and the configuration folder.
TSettingsFiles SettingsFilesFor(const std::filesystem::path& beside,
                                const std::filesystem::path& configFolder);

// The settings file of the executable at exePath: its extension (the part of
// the file name from its last dot, a leading dot excepted) replaced by ".ini",
// or ".ini" appended when it has none. Empty for an empty path.
std::filesystem::path CFGFileNameFor(const std::filesystem::path& exePath);

} // namespace pellix
