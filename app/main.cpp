// Pellix: the calculator's window. The composition root: it creates the
// application, the language data module, the window with its environment and
// About box, and installs the last-resort fault handler.

#include "about/aboutbox.h"
#include "lang/tolvbase.h"
#include "seam/filepath.h"
#include "seam/vendor.h"
#include "shell/pellixapp.h"
#include "shell/platform/clicksource.h"
#include "shell/platform/displayend.h"
#include "shell/platform/displayplatform.h"
#include "shell/platform/settingspaths.h"
#include "shell/platform/termination.h"
#include "shell/settings.h"
#include "shell/shortcut.h"
#include "shell/zunmain.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    pellix::IgnoreBrokenPipes();
    pellix::ChooseDisplayPlatform(); // XWayland in a Wayland session, where it serves
    pellix::TPellixApplication app(argc, argv);
    pellix::ForgetDisplayPlatformChoice();
    QCoreApplication::setApplicationName(QString::fromLatin1(pellix::ProgramName));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(PELLIX_APP_ID));

    const auto tolvBase = pellix::CreateTolvBase(); // outlives every window
    pellix::ITranslator& texts = *tolvBase->LanMan;
    pellix::TShellEnvironment env;
    env.SettingsFile = pellix::DefaultSettingsFiles();
    env.DesktopFolder = pellix::DesktopFolder();
    // The program itself, also where the dynamic loader started it.
    env.ExecutablePath = pellix::DisplayPath(pellix::ProgramFile());
    env.Player = pellix::PlatformClickPlayer();
    env.AboutFactory = [&texts](QWidget* owner) { return new pellix::TFrmAbout(owner, texts); };
    env.Texts = &texts;
    pellix::TZunMain window(std::move(env));
    // The last resort for faults that escape an event handler; key presses,
    // paste and menu commands end theirs in the display themselves.
    app.SetFaultHandler([&window](std::string_view message) { window.AppException(message); });
    // A termination request ends the loop, and the window stores on the way out.
    const pellix::TTerminationRequests termination([](int) { QCoreApplication::exit(0); });
    // The display lost: Qt ends the process right after, so the state is stored
    // at once. The window destroyed by another program: the loop ends as above.
    const pellix::TDisplayEnd displayEnd(
        window, [&window] { window.StoreOnEnd(); }, [] { QCoreApplication::exit(0); });
    // Reading the icon and handing it to the window system would hold up the
    // first display by several milliseconds; the taskbar gets it right after.
    QObject::connect(&window, &pellix::TZunMain::FirstPainted,
                     [] { QApplication::setWindowIcon(pellix::ProgramIcon()); });
    window.show();
    window.activateWindow();
    const int code = app.exec();
    app.SetFaultHandler(nullptr); // the window goes before the application
    return code;
}
