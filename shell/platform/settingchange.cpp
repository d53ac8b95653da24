#include "settingchange.h"

#include <QCoreApplication>

#ifdef _WIN32
#include "winwindow.h"

#include <cstdint>
#endif

namespace pellix {

TSettingChangeFilter::TSettingChangeFilter(QWidget& window, std::function<void()> onChange)
    : FWindow(&window), FOnChange(std::move(onChange)) {
#ifdef _WIN32
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
#endif
}

TSettingChangeFilter::~TSettingChangeFilter() {
#ifdef _WIN32
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
#endif
}

bool TSettingChangeFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr* /*result*/) {
#ifdef _WIN32
    // "windows_generic_MSG": every message that reaches one of the program's
    // windows, sent ones included (the broadcast is sent). Posted messages are
    // also seen once more as "windows_dispatcher_MSG", which is left out so
    // that none counts twice.
    if (eventType == "windows_generic_MSG" && FWindow && FOnChange &&
        win::IsSettingChangeFor(message, static_cast<std::uintptr_t>(FWindow->internalWinId())))
        FOnChange();
#else
    (void)eventType;
    (void)message;
#endif
    return false; // Qt handles the message as usual
}

} // namespace pellix
