#pragma once

// The system's settings-change broadcast reaching the main window.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace pellix {

// Calls `onChange` for every settings-change broadcast (WM_SETTINGCHANGE,
// 0x001A) that reaches the window's native window, whatever setting it names,
// and leaves the message to Qt as usual. Installed on the application while
// the object lives; create it after the application object.
//
// Only Windows has this broadcast: elsewhere the object does nothing, and Qt's
// LocaleChange and ThemeChange events reaching the window are the counterpart.
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

} // namespace pellix
