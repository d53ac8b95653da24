#include "settingchange.h"

#include "shell/win/winwindow.h"

#include <QCoreApplication>

#include <cstdint>

namespace pellix {

// The broadcast is WM_SETTINGCHANGE (0x001A), watched by a filter installed
// on the application while the object lives.
TSettingChangeFilter::TSettingChangeFilter(QWidget& window, std::function<void()> onChange)
    : FWindow(&window), FOnChange(std::move(onChange)) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

TSettingChangeFilter::~TSettingChangeFilter() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

bool TSettingChangeFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr* /*result*/) {
    // "windows_generic_MSG": every message that reaches one of the program's
    // windows, sent ones included (the broadcast is sent). Posted messages are
    // also seen once more as "windows_dispatcher_MSG", which is left out so
    // that none counts twice.
    if (eventType == "windows_generic_MSG" && FWindow && FOnChange &&
        win::IsSettingChangeFor(message, static_cast<std::uintptr_t>(FWindow->internalWinId())))
        FOnChange();
    return false; // Qt handles the message as usual
}

bool AnnouncesSettingChange(const QEvent& /*event*/) {
    return false; // the broadcast does
}

} // namespace pellix
