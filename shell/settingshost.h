#pragma once

#include <QPoint>

namespace pellix {

// What the settings file reads from and writes to the main window. The window
// implements it; tests use a plain fake.
class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;

    // "Left" and "Top": the window's position in screen pixels. Any int may
    // be set; like the zoom, the window checks and applies it later.
    virtual QPoint WindowPos() const = 0;
    virtual void SetWindowPos(QPoint pos) = 0;

    // "Sound": the key-click switch IsSound.
    virtual bool IsSound() const = 0;
    virtual void SetSound(bool on) = 0;

    // "StayOnTop": reads FStayOnTop; writes through the StayOnTop setter, whose
    // own store does nothing while the settings are loading.
    virtual bool StayOnTop() const = 0;
    virtual void SetStayOnTop(bool on) = 0;

    // "TotalScale": the zoom; not applied when set, the window applies it later.
    virtual double TotalScale() const = 0;
    virtual void SetTotalScale(double scale) = 0;

    // "lastShowAbout": time of the most recent start, -1 when none was recorded.
    virtual double LastShowAbout() const = 0;
    virtual void SetLastShowAbout(double when) = 0;

    // The engine's angle mode was loaded: update the angle annunciator.
    virtual void SyncTrigCaption() = 0;

    // The check mark of "Show On Desktop".
    virtual void SetShowOnDesktopChecked(bool checked) = 0;
};

} // namespace pellix
