#pragma once

#include "aboutseam.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;
class QFrame;

namespace pellix {

// The About box: icon, version line, the program's texts with its web and
// e-mail addresses as links. Created hidden with the main window; each opening
// fills it anew and shows it modally.
class TFrmAbout : public QDialog, public IAboutBox {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* owner);

    // Opens the box modally with fresh texts; returns when it is closed.
    void Open() override;
    // Fills the box, then shows it modally; returns the modal result.
    int ShowModal();
    // Fills the box: dialog border, texts, caption, link marks, caret at the start.
    void ShowAbout();
    void SetCaptions();
    QString GetVersion() const;
    void LoadExeIcon();
    void MarkLinks();
    // URL or EMail := the address under the caret.
    void LinkAtCaret();
    // Opens URL in the browser, or a new e-mail to EMail.
    void RichEdit1MouseUp();

    QString URL;
    QString EMail;

    QLabel* Image1;
    QTextEdit* RichEdit1;
    QFrame* Bevel1;
    QWidget* Panel1;
    QPushButton* bnClose;

    // The box's texts, refreshed from their built-in values at each opening
    // and then looked up in section "FrmAbout" of the common language file.
    QString VersionFormat; // key "SVersion"
    QString Caption;       // key "SCaptionAbout"
    QString AboutText;     // key "SAboutText"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The text with each line break as CR LF, as the link positions count it.
    QString FText;
};

// Built-in texts of the box.
QString BuiltInVersionFormat();
QString BuiltInCaption();
QString BuiltInAboutText();

// The run of characters above U+0020 around position pos of text (see
// LinkAtCaret); empty at the end of the text.
QString WordAt(const QString& text, int pos);
// An "@" and, somewhere after the first one, a ".".
bool IsMailAddress(const QString& word);
// Whether text contains one of the needles, letter case ignored.
bool ContainsAnyText(const QString& text, const QStringList& needles);
// Only these are ever handed to the desktop.
bool IsOpenableUrl(const QUrl& url);

} // namespace pellix
