// Pellix: the calculator's window.

#include "pellixapp.h"
#include "settings.h"
#include "shortcut.h"
#include "zunmain.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    pellix::TPellixApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pellix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLIX_VERSION));

    pellix::TShellEnvironment env;
    env.SettingsFile = pellix::DefaultCFGFileName();
    env.DesktopFolder = pellix::DesktopFolder();
    env.ExecutablePath = QCoreApplication::applicationFilePath();
    pellix::TZunMain window(std::move(env));
    window.show();
    window.activateWindow();
    return app.exec();
}
