#pragma once

// A window stand-in for the settings file and the desktop shortcut: plain
// values behind ISettingsHost, with the designed defaults of the window.

#include "shell/settings.h"
#include "shell/settingshost.h"

#include <QByteArray>
#include <QFile>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellix::testing {

class TFakeSettingsHost : public ISettingsHost {
public:
    TWindowSettings Values{.Left = 427, .Top = 196};
    std::optional<bool> Checked; // the check mark of "Show On Desktop", unset until told

    // Set by the test: the settings whose store SetWindowSettings calls when
    // StoreWhenSet, and whether it throws instead.
    TSettings* Settings = nullptr;
    bool StoreWhenSet = false;
    bool ThrowWhenSet = false;
    std::vector<bool> LoadingAtSet; // Loading() at each SetWindowSettings

    QPoint Pos() const { return {Values.Left, Values.Top}; }
    void MoveTo(QPoint pos) {
        Values.Left = pos.x();
        Values.Top = pos.y();
    }
    std::function<void(bool)> CheckMark() {
        return [this](bool checked) { Checked = checked; };
    }

    TWindowSettings WindowSettings() const override { return Values; }
    void SetWindowSettings(const TWindowSettings& values) override {
        LoadingAtSet.push_back(Settings && Settings->Loading());
        if (ThrowWhenSet)
            throw std::runtime_error("host failure");
        Values = values;
        if (StoreWhenSet && Settings)
            Settings->StoreSettings();
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
