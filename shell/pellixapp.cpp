#include "pellixapp.h"

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

} // namespace pellix
