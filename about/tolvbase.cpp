#include "tolvbase.h"

namespace pellix {

namespace {

TTolvBase* Instance = nullptr;

} // namespace

TTolvBase::TTolvBase(QObject* parent) : QObject(parent), LanMan(new TLangManager(this)) {
    setObjectName(QStringLiteral("TolvBase"));
    LanMan->setObjectName(QStringLiteral("LanMan"));
    // The stored properties of the manager, in the order they are configured.
    LanMan->SetLanguage(QStringLiteral("English"));
    LanMan->SetCreated(QStringLiteral("\"13.02.2007 by Tolvane\""));
    LanMan->SetBuildLanguage(false);
    LanMan->SetLangExtension(QStringLiteral(".lan"));
    LanMan->SetOptions({lmNumUnits});
    if (Instance == nullptr) {
        Instance = this;
    }
}

TTolvBase::~TTolvBase() {
    if (Instance == this) {
        Instance = nullptr;
    }
}

std::unique_ptr<TTolvBase> CreateTolvBase() {
    return std::make_unique<TTolvBase>();
}

TTolvBase* TolvBase() {
    return Instance;
}

TLangManager* LanMan() {
    return Instance != nullptr ? Instance->LanMan : nullptr;
}

void MakeText(const QString& section, const QString& name, QString& value, bool common) {
    if (TLangManager* m = LanMan()) {
        m->MakeText(section, name, value, common);
    }
}

} // namespace pellix
