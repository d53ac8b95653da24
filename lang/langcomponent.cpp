#include "langcomponent.h"

#include "formclasses.h"

#include <QCoreApplication>

namespace pellix {

TLangComponent::TLangComponent(QWidget* AOwner) : QWidget(AOwner) {
    if (formclasses::IsForm(AOwner)) {
        FForm = AOwner;
    }
    resize(28, 28);
    setVisible(false);
}

TLangComponent::~TLangComponent() {
    if (FLanManager) {
        FLanManager->RemoveForm(this);
    }
}

void TLangComponent::SetLanManager(TLangManager* m) {
    if (m == nullptr) {
        return;
    }
    if (FLanManager && FLanManager != m) {
        FLanManager->RemoveForm(this);
    }
    FLanManager = m;
    m->AddForm(this);
    QCoreApplication::postEvent(this, new QEvent(LanguageChangedEvent()));
}

bool TLangComponent::event(QEvent* e) {
    if (e->type() == LanguageChangedEvent()) {
        LMLanguageChanged();
        return true;
    }
    return QWidget::event(e);
}

void TLangComponent::LMLanguageChanged() {
    if (!FForm || !FLanManager) {
        return;
    }
    const QPointer<TLangComponent> self(this);
    FLanManager->MakeForm(FForm, true, FUseCommonLanguageFile);
    if (self && FOnLanguageChanged) {
        FOnLanguageChanged(this);
    }
}

} // namespace pellix
