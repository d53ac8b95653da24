#pragma once

// The window's environment inside a test's own folder: the settings file
// pellix.ini and the desktop folder Desktop in it, the test program as the
// shortcut's target, a click player that plays nothing and the separators
// "." and ",". Tests change what they are about.

#include "shell/clickplayer.h"
#include "shell/zunmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <memory>

namespace pellix::testing {

class SilentPlayer : public IClickPlayer {
public:
    void Play() override {}
};

inline TShellEnvironment TestEnvironment(const QString& folder) {
    TShellEnvironment env;
    env.SettingsFile = QDir(folder).filePath(QStringLiteral("pellix.ini"));
    env.DesktopFolder = QDir(folder).filePath(QStringLiteral("Desktop"));
    env.ExecutablePath = QCoreApplication::applicationFilePath();
    env.Player = std::make_unique<SilentPlayer>();
    env.Regional = Separators{".", ","};
    return env;
}

} // namespace pellix::testing
