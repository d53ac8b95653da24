#pragma once

#include "seam/aboutseam.h"
#include "seam/translator.h"

#include <QDialog>
#include <QString>

#include <algorithm>
#include <vector>

class QLabel;
class QPushButton;
class QTextEdit;
class QFrame;

namespace pellix {

// A run of characters [From, To) of a text.
struct TTextRange {
    qsizetype From = 0;
    qsizetype To = 0;
    friend bool operator==(const TTextRange&, const TTextRange&) = default;
};

// The box's text as its text area shows it: line breaks as one character,
// and every link longer than LinkShownMax characters cut short to end in "…"
// (what it opens stays whole).
struct TShownText {
    static constexpr qsizetype LinkShownMax = 80;

    QString Text;
    std::vector<TTextRange> Links; // in positions of Text, in text order
    // The position in the box's text of each position of Text, and of its
    // end: a line break stands at its CR, an ellipsis at the first character
    // it leaves out.
    std::vector<qsizetype> TextPos;

    qsizetype TextPosAt(qsizetype areaPos) const {
        if (TextPos.empty()) {
            return 0;
        }
        return TextPos[std::size_t(
            std::clamp<qsizetype>(areaPos, 0, qsizetype(TextPos.size()) - 1))];
    }
};

// The links of the box's text, in its positions: first the web addresses
// (each the earliest "http:/" from where the previous one ended, only when
// there is none the earliest "https:/", then "www."; up to the next blank),
// then the mail addresses (the words around "@" that are one). Linear in the
// length of the text.
std::vector<TTextRange> FindLinks(const QString& text);
TShownText ShownTextOf(const QString& text);

// The About box: icon, version line, the program's texts with its web and
// e-mail addresses as links. Created hidden with the main window; each opening
// fills it anew, its texts through the given translator, and shows it modally.
class TFrmAbout : public QDialog, public IAboutBox {
    Q_OBJECT
public:
    TFrmAbout(QWidget* owner, ITranslator& texts);

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
    QString CloseCaption;  // key "SOK", the button's caption

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ITranslator& FTexts;
    // The text with each line break as CR LF, as the link positions count it.
    QString FText;
    TShownText FShown;
};

// Built-in texts of the box.
QString BuiltInVersionFormat();
QString BuiltInCaption();
QString BuiltInAboutText();
QString BuiltInCloseCaption();

// The run of characters above U+0020 around position pos of text (see
// LinkAtCaret); empty at the end of the text.
QString WordAt(const QString& text, int pos);
// One bare mail address: a single "@" with something before it and a "." somewhere
// after it, and no comma, semicolon, angle bracket or other character that
// would make the word a list, a display name or a group.
bool IsMailAddress(const QString& word);
// Whether text contains one of the needles, letter case ignored.
bool ContainsAnyText(const QString& text, const QStringList& needles);
// Only these are ever handed to the desktop.
bool IsOpenableUrl(const QUrl& url);

} // namespace pellix
