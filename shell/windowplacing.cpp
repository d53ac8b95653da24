#include "windowplacing.h"

#include "shell/platform/problemreport.h"

#include <QGuiApplication>

namespace pellix {

bool PlacesOwnWindow() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void NoteCompositorPlacing() {
    static bool noted = false;
    if (!noted && !PlacesOwnWindow()) {
        noted = true;
        ReportProblem(QStringLiteral(
            "running natively on Wayland: the compositor places the window and decides whether "
            "it stays on top; the stored position is kept as it is"));
    }
}

} // namespace pellix
