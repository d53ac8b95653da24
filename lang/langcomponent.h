#pragma once

#include "langmanager.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace pellix {

// The event that tells a binding component to translate its form; both
// message parameters of the original message are 0, so the event carries none.
inline constexpr int LM_LANGUAGECHANGED = 4044;
inline QEvent::Type LanguageChangedEvent() {
    return static_cast<QEvent::Type>(LM_LANGUAGECHANGED);
}

// Binds a form to a language manager. Placed on the form (a child of it), it
// is 28 x 28 and never shown. Binding posts LM_LANGUAGECHANGED to itself, so
// the form is translated once the event loop runs; the manager delivers the
// event directly on every language change, and the form is translated again.
class TLangComponent : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool UseCommonLanguageFile READ UseCommonLanguageFile WRITE SetUseCommonLanguageFile)

public:
    // The owner becomes the component's form when it is a form.
    explicit TLangComponent(QWidget* AOwner = nullptr);
    ~TLangComponent() override;

    TLangManager* LanManager() const { return FLanManager; }
    // Binds to m; a null manager is ignored and the binding stays. Binding to
    // another manager first leaves the former one.
    void SetLanManager(TLangManager* m);

    bool UseCommonLanguageFile() const { return FUseCommonLanguageFile; }
    void SetUseCommonLanguageFile(bool value) { FUseCommonLanguageFile = value; }

    // Fired after the form has been translated.
    const TNotifyEvent& OnLanguageChanged() const { return FOnLanguageChanged; }
    void SetOnLanguageChanged(TNotifyEvent handler) { FOnLanguageChanged = std::move(handler); }

    QWidget* Form() const { return FForm; }

protected:
    bool event(QEvent* e) override;

private:
    void LMLanguageChanged();

    QPointer<TLangManager> FLanManager; // not owned; forgotten when it goes
    QPointer<QWidget> FForm;
    TNotifyEvent FOnLanguageChanged;
    bool FUseCommonLanguageFile = false;
};

} // namespace pellix
