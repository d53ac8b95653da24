#pragma once

#include <QString>

#include <functional>

class QObject;

namespace pellix {

// The program's one route to translated texts, as the windows see it: the
// language manager implements it, and the program hands it to each window
// that shows texts. A window keeps its built-in texts and asks for each one
// anew whenever the language changes.
class ITranslator {
public:
    virtual ~ITranslator() = default;
    // Looks a text up (section, key; common: the common language file); a
    // text without translation keeps its value. In build mode it is harvested.
    virtual void MakeText(const QString& section, const QString& name, QString& value,
                          bool common) = 0;
    // Calls retranslate after every change of language (and when building
    // starts), for as long as receiver lives.
    virtual void WatchLanguage(QObject* receiver, std::function<void()> retranslate) = 0;
};

} // namespace pellix
