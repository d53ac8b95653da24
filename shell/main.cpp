// Pellix: the calculator's window.

#include "aboutbox.h"
#include "clicksource.h"
#include "pellixapp.h"
#include "settings.h"
#include "shortcut.h"
#include "termination.h"
#include "tolvbase.h"
#include "zunmain.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    pellix::TPellixApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Pellix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(PELLIX_APP_ID));

    pellix::TShellEnvironment env;
    env.SettingsFile = pellix::DefaultSettingsFiles();
    env.DesktopFolder = pellix::DesktopFolder();
    env.ExecutablePath = QCoreApplication::applicationFilePath();
    env.Player = pellix::PlatformClickPlayer();
    env.AboutFactory = [](QWidget* owner) { return new pellix::TFrmAbout(owner); };
    pellix::TZunMain window(std::move(env));
    const auto tolvBase = pellix::CreateTolvBase(); // after the main window
    // A termination request ends the loop, and the window stores on the way out.
    const pellix::TTerminationRequests termination([](int) { QCoreApplication::exit(0); });
    // Reading the icon and handing it to the window system would hold up the
    // first display by several milliseconds; the taskbar gets it right after.
    QObject::connect(&window, &pellix::TZunMain::FirstPainted,
                     [] { QApplication::setWindowIcon(pellix::ProgramIcon()); });
    window.show();
    window.activateWindow();
    return app.exec();
}
