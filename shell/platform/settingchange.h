#pragma once

// The system's settings-change broadcast reaching the main window.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <functional>

class QEvent;

namespace pellix {

// Calls `onChange` for every settings-change broadcast of the system that
// reaches the window's native window, whatever setting it names, and leaves
// the message to Qt as usual. Create it after the application object. Where
// the system has no such broadcast the object does nothing, and the window's
// own events stand for it (AnnouncesSettingChange).
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
// setting, to be stored like the broadcast; never where the system has one.
bool AnnouncesSettingChange(const QEvent& event);

} // namespace pellix
