#pragma once

// The system's settings-change broadcast reaching the main window.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <functional>

class QEvent;

namespace pellix {

// Calls `onChange` for every settings-change broadcast (WM_SETTINGCHANGE,
// 0x001A) that reaches the window's native window, whatever setting it names,
// and leaves the message to Qt as usual. Installed on the application while
// the object lives; create it after the application object.
//
// Only Windows has this broadcast: elsewhere the object does nothing, and the
// window's own events stand for it (AnnouncesSettingChange).
class TSettingChangeFilter : public QAbstractNativeEventFilter {
public:
    TSettingChangeFilter(QWidget& window, std::function<void()> onChange);
    ~TSettingChangeFilter() override;
    TSettingChangeFilter(const TSettingChangeFilter&) = delete;
    TSettingChangeFilter& operator=(const TSettingChangeFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QPointer<QWidget> FWindow;
    std::function<void()> FOnChange;
};

// Whether an event that reaches the main window tells of a changed system
// setting, to be stored like the broadcast: Qt's LocaleChange and ThemeChange
// where the system has no broadcast; never on Windows, which has one.
bool AnnouncesSettingChange(const QEvent& event);

} // namespace pellix
