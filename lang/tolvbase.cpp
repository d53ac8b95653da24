#include "tolvbase.h"

namespace pellix {

TTolvBase::TTolvBase(QObject* parent) : QObject(parent), LanMan(new TLangManager(this)) {
    setObjectName(QStringLiteral("TolvBase"));
    LanMan->setObjectName(QStringLiteral("LanMan"));
    // The stored properties of the manager, in the order they are configured.
    LanMan->SetLanguage(QStringLiteral("English"));
    LanMan->SetCreated(QStringLiteral("\"13.02.2007 by Tolvane\""));
    LanMan->SetBuildLanguage(false);
    LanMan->SetLangExtension(QStringLiteral(".lan"));
    LanMan->SetOptions({lmNumUnits});
}

TTolvBase::~TTolvBase() = default;

std::unique_ptr<TTolvBase> CreateTolvBase() {
    return std::make_unique<TTolvBase>();
}

} // namespace pellix
