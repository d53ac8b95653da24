#pragma once

#include "langmanager.h"

#include <QObject>
#include <QString>

#include <memory>

namespace pellix {

// The program's data module: it holds the language manager LanMan, which the
// program hands to its windows as their translator. The program creates it
// once, before the main window, and keeps it until the end. No language
// folder and no application file are configured, so the manager opens no file
// and every text keeps its built-in value.
class TTolvBase : public QObject {
    Q_OBJECT
public:
    explicit TTolvBase(QObject* parent = nullptr);
    ~TTolvBase() override;

    TLangManager* LanMan; // owned (a child)
};

// Creates the data module (component name "TolvBase").
std::unique_ptr<TTolvBase> CreateTolvBase();

} // namespace pellix
