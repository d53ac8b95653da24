#include "pellixapp.h"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <exception>

namespace pellix {

TPellixApplication::TPellixApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TPellixApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (FHandler) {
            FHandler(e.what());
        }
    } catch (...) {
        if (FHandler) {
            FHandler("Unknown fault");
        }
    }
    return true; // the fault is handled; the program goes on
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        // Read as PNG outright: a reader left to guess the format loads every
        // image-format plugin first, and the icon engine lookup of addFile
        // loads the icon-engine plugins.
        QImageReader reader(QStringLiteral(":/icons/pellix-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace pellix
