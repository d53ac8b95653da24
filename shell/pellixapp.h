#pragma once

#include <QApplication>
#include <QIcon>

#include <functional>
#include <string_view>

namespace pellix {

// The application object. Faults thrown by an event handler never unwind
// through Qt's event loop: notify catches them and hands the message to the
// fault handler that main installs (the main window's AppException). It is
// the last resort: keys, paste and menu commands end their own faults in the
// entry machine.
class TPellixApplication : public QApplication {
public:
    TPellixApplication(int& argc, char** argv);

    using FaultHandler = std::function<void(std::string_view message)>;
    void SetFaultHandler(FaultHandler handler) { FHandler = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    FaultHandler FHandler;
};

// The program's icon in the seven sizes it is made in, read without any
// image-format plugin.
QIcon ProgramIcon();

} // namespace pellix
