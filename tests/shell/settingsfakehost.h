#pragma once

// A window stand-in for the settings file and the desktop shortcut: plain
// fields behind ISettingsHost, with the designed defaults of the window.

#include "settings.h"
#include "settingshost.h"
#include "zuncalc.h"

#include <QByteArray>
#include <QFile>
#include <QPoint>
#include <QString>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellix::testing {

class TFakeSettingsHost : public ISettingsHost {
public:
    QPoint Pos{427, 196};
    bool Sound = true;
    bool OnTop = true;
    double Scale = 1.0;
    double LastShow = -1;
    std::optional<bool> Checked; // the check mark of "Show On Desktop", unset until told

    // Set by the test: the settings whose store the StayOnTop setter calls, as
    // the window's setter does, and the engine whose angle mode the caption shows.
    TSettings* Settings = nullptr;
    const TZunCalc* Zun = nullptr;

    // What the settings asked for, in order, with Loading() at that moment.
    std::vector<std::string> Calls;
    std::vector<bool> LoadingAtCall;
    std::optional<int> TrigAtSync; // the angle mode the caption was made from
    bool ThrowOnTotalScale = false;

    QPoint WindowPos() const override { return Pos; }
    void SetWindowPos(QPoint pos) override {
        Note("SetWindowPos");
        Pos = pos;
    }
    bool IsSound() const override { return Sound; }
    void SetSound(bool on) override {
        Note("SetSound");
        Sound = on;
    }
    bool StayOnTop() const override { return OnTop; }
    void SetStayOnTop(bool on) override {
        Note("SetStayOnTop");
        if (on != OnTop) {
            OnTop = on;
            if (Settings)
                Settings->StoreSettings();
        }
    }
    double TotalScale() const override { return Scale; }
    void SetTotalScale(double scale) override {
        Note("SetTotalScale");
        if (ThrowOnTotalScale)
            throw std::runtime_error("host failure");
        Scale = scale;
    }
    double LastShowAbout() const override { return LastShow; }
    void SetLastShowAbout(double when) override {
        Note("SetLastShowAbout");
        LastShow = when;
    }
    void SyncTrigCaption() override {
        Note("SyncTrigCaption");
        if (Zun)
            TrigAtSync = Zun->TrigMode;
    }
    void SetShowOnDesktopChecked(bool checked) override {
        Note("SetShowOnDesktopChecked");
        Checked = checked;
    }

private:
    void Note(const char* call) {
        Calls.emplace_back(call);
        LoadingAtCall.push_back(Settings && Settings->Loading());
    }
};

inline bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

inline QByteArray ReadFileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace pellix::testing
