#include "settingchange.h"

#include <QEvent>

namespace pellix {

// No broadcast to watch: AnnouncesSettingChange stands for it.
TSettingChangeFilter::TSettingChangeFilter(QWidget& window, std::function<void()> onChange)
    : FWindow(&window), FOnChange(std::move(onChange)) {}

TSettingChangeFilter::~TSettingChangeFilter() = default;

bool TSettingChangeFilter::nativeEventFilter(const QByteArray& /*eventType*/, void* /*message*/,
                                             qintptr* /*result*/) {
    return false;
}

// Qt's own events for the regional settings and the look.
bool AnnouncesSettingChange(const QEvent& event) {
    return event.type() == QEvent::LocaleChange || event.type() == QEvent::ThemeChange;
}

} // namespace pellix
