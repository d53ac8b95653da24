#pragma once

#include "langmanager.h"

#include <QObject>
#include <QString>

#include <memory>

namespace pellix {

// The program's data module: it holds the language manager LanMan. The
// program creates it once, right after the main window, and keeps it until
// the end. No language folder and no application file are configured, so the
// manager opens no file and every text keeps its built-in value.
class TTolvBase : public QObject {
    Q_OBJECT
public:
    explicit TTolvBase(QObject* parent = nullptr);
    ~TTolvBase() override;

    TLangManager* LanMan; // owned (a child)
};

// Creates the data module (component name "TolvBase"); call it from main after
// the main window has been created.
std::unique_ptr<TTolvBase> CreateTolvBase();

// The data module while it exists, else null.
TTolvBase* TolvBase();
// The data module's language manager while it exists, else null.
TLangManager* LanMan();

// A translatable text through the data module's manager: without a data
// module, or without a translation, value keeps its built-in text.
void MakeText(const QString& section, const QString& name, QString& value, bool common);

} // namespace pellix
