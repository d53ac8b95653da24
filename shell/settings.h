#pragma once

#include "inifile.h"
#include "kepttexts.h"
#include "separators.h"
#include "settingshost.h"
#include "zuncalc.h"

#include <QString>

#include <utility>

namespace pellix {

// The settings file: section "ZunMain" with the window's and the engine's
// state. Read once at start-up, written completely at the store events.
class TSettings {
public:
    TSettings(QString cfgFileName, TZunCalc& zun, ISettingsHost& host, QString desktopFolder);

    // Reads the file and applies every value; missing or unreadable values
    // keep the current ones, and a stored text that does not read stays in the
    // file until its key gets a value other than the one kept. Stores made
    // meanwhile (the StayOnTop setter) do nothing.
    void LoadSettings();

    // Writes all 24 keys; does nothing while loading. Never throws; a file
    // that cannot be written is left as it was.
    void StoreSettings();

    bool Loading() const { return FLoading; }
    const QString& CFGFileName() const { return FCFGFileName; }

    // Separator of the float values. Empty (the default) means the system
    // locale's, looked up at each load and store.
    void SetDecimalSeparator(QString sep) { FDecimal = std::move(sep); }

    // Replaceable steps of the safe save; tests simulate failures with them.
    void SetSaveHooks(TIniSaveHooks hooks) { FSaveHooks = std::move(hooks); }

private:
    QString FCFGFileName;
    TZunCalc& FZun;
    ISettingsHost& FHost;
    QString FDesktopFolder;
    QString FDecimal;
    TIniSaveHooks FSaveHooks;
    TKeptTexts FKept; // stored texts that did not read at the load
    bool FLoading = false;

    std::string DecimalSeparator() const;
};

// The running executable's full path with its extension replaced by ".ini";
// a path without an extension gets ".ini" appended. An installed copy whose
// folder the user cannot write to (and that has no settings file there) keeps
// its settings in the user's configuration folder instead, so they survive.
QString DefaultCFGFileName();

// The settings file for the file beside the executable: that file when it
// exists or its folder is writable, else the same name in configFolder.
QString SettingsFileFor(const QString& beside, const QString& configFolder);

// The settings file of the executable at exePath: its extension (the part of
// the file name from its last dot, a leading dot excepted) replaced by ".ini",
// or ".ini" appended when it has none. Empty for an empty path.
QString CFGFileNameFor(const QString& exePath);

} // namespace pellix
