// Pellix: the calculator's window.

#include "aboutbox.h"
#include "clicksource.h"
#include "pellixapp.h"
#include "settingchange.h"
#include "settings.h"
#include "shortcut.h"
#include "termination.h"
#include "tolvbase.h"
#include "zunmain.h"

#include <QCoreApplication>
#include <QIcon>

int main(int argc, char** argv) {
    pellix::TPellixApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pellix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLIX_VERSION));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/pellix-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral(PELLIX_APP_ID));

    pellix::TShellEnvironment env;
    env.SettingsFile = pellix::DefaultSettingsFiles();
    env.DesktopFolder = pellix::DesktopFolder();
    env.ExecutablePath = QCoreApplication::applicationFilePath();
    env.Player = pellix::PlatformClickPlayer();
    env.AboutFactory = [](QWidget* owner) { return new pellix::TFrmAbout(owner); };
    pellix::TZunMain window(std::move(env));
    const auto tolvBase = pellix::CreateTolvBase(); // after the main window
    const pellix::TSettingChangeFilter settingChange(
        window, [&window] { window.Settings().StoreSettings(); });
    // A termination request ends the loop, and the window stores on the way out.
    const pellix::TTerminationRequests termination([](int) { QCoreApplication::exit(0); });
    window.show();
    window.activateWindow();
    return app.exec();
}
