#pragma once

#include <QString>

#include <optional>

namespace pellix {

// What the build asks the save dialog for.
struct TSaveDialogRequest {
    QString Title;
    QString Filter;       // description and patterns, "|" between them
    QString DefaultExt;   // with its dot
    QString FileName;     // the proposed name
    QString InitialDir;   // the folder the dialog opens in
    bool OverwritePrompt; // ask before replacing an existing file
};

// The dialogs and message boxes of the language manager. The program uses
// TQtLangDialogs; tests answer them with a fake.
class ILangDialogs {
public:
    virtual ~ILangDialogs() = default;
    // The chosen path, or nullopt when the user cancels.
    virtual std::optional<QString> SaveFileName(const TSaveDialogRequest& request) = 0;
    // An error box with an OK button.
    virtual void ErrorBox(const QString& text) = 0;
    // A question box with Yes and No buttons; true for Yes.
    virtual bool YesNoBox(const QString& text) = 0;
};

// QFileDialog and QMessageBox, over the active window.
class TQtLangDialogs : public ILangDialogs {
public:
    std::optional<QString> SaveFileName(const TSaveDialogRequest& request) override;
    void ErrorBox(const QString& text) override;
    bool YesNoBox(const QString& text) override;
};

} // namespace pellix
