#include "aboutbox.h"

#include "seam/vendor.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QUrl>

#include <algorithm>

namespace pellix {

Q_LOGGING_CATEGORY(lcAboutLinks, "pellix.about.links", QtWarningMsg)

namespace {

const QString Section = QStringLiteral("FrmAbout");
const QColor LinkBlue(0, 0, 255);

bool IsBlank(QChar c) {
    return c.unicode() <= 0x20;
}

qsizetype WordStart(const QString& text, qsizetype pos) {
    while (pos > 0 && !IsBlank(text[pos - 1])) {
        --pos;
    }
    return pos;
}

qsizetype WordEnd(const QString& text, qsizetype pos) {
    while (pos < text.size() && !IsBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

// The next occurrence of a needle (letter case ignored) at or after a
// position that only grows: the text is searched again only once the last
// occurrence lies behind, so every character is looked at a bounded number
// of times however many addresses the text holds.
class TNextMatch {
public:
    TNextMatch(const QString& text, QLatin1String needle)
        : FText(text), FNeedle(needle), FAt(text.indexOf(needle, 0, Qt::CaseInsensitive)) {}

    qsizetype From(qsizetype pos) {
        if (FAt >= 0 && FAt < pos) {
            FAt = FText.indexOf(FNeedle, pos, Qt::CaseInsensitive);
        }
        return FAt;
    }

private:
    const QString& FText;
    QLatin1String FNeedle;
    qsizetype FAt;
};

// Characters that end or split a bare mail address (the mail format's specials, the dot and
// the one "@" excepted): a word holding one is a list, a display name or a
// group, never one address.
bool IsAddressSpecial(QChar c) {
    return QStringView(u",;<>()[]\\:\"").contains(c);
}

QFont FontOf(const QStringList& families, int pixels) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(pixels);
    return f;
}

} // namespace

QString BuiltInVersionFormat() {
    return QStringLiteral("Pellix Version %s");
}

QString BuiltInCaption() {
    return QString::fromLatin1(WebDomain) + QLatin1Char(' ') + QString::fromLatin1(ProgramName);
}

QString BuiltInAboutText() {
    const QString crlf = QStringLiteral("\r\n");
    return crlf + crlf + QStringLiteral("Copyright \u00a9 2026 The Pellix developers") + crlf +
           QString::fromLatin1(WebAddress) + crlf + QStringLiteral("All rights reserved.") + crlf +
           crlf + QStringLiteral("e-mail: ") + QString::fromLatin1(SupportMail) + crlf;
}

QString BuiltInCloseCaption() {
    return QStringLiteral("OK");
}

QString WordAt(const QString& text, int pos) {
    if (pos < 0 || pos >= text.size()) {
        return {};
    }
    int start = pos;
    if (IsBlank(text[pos])) {
        start = pos + 1; // the run that begins right after it
    } else {
        while (start > 0 && !IsBlank(text[start - 1])) {
            --start;
        }
    }
    int end = start;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    return text.mid(start, end - start);
}

bool IsMailAddress(const QString& word) {
    const qsizetype at = word.indexOf(QLatin1Char('@'));
    if (at <= 0 || word.indexOf(QLatin1Char('@'), at + 1) >= 0 ||
        word.indexOf(QLatin1Char('.'), at + 1) < 0) {
        return false;
    }
    return std::none_of(word.begin(), word.end(),
                        [](QChar c) { return IsBlank(c) || IsAddressSpecial(c); });
}

std::vector<TTextRange> FindLinks(const QString& text) {
    std::vector<TTextRange> links;
    // Web addresses: the earliest http:/ from where the previous address
    // ended; only when there is none the earliest https:/, then www.
    TNextMatch prefixes[] = {{text, QLatin1String("http:/")},
                             {text, QLatin1String("https:/")},
                             {text, QLatin1String("www.")}};
    for (qsizetype pos = 0;;) {
        qsizetype found = -1;
        for (TNextMatch& prefix : prefixes) {
            found = prefix.From(pos);
            if (found >= 0) {
                break;
            }
        }
        if (found < 0) {
            break;
        }
        pos = WordEnd(text, found);
        links.push_back({found, pos});
    }
    // Mail addresses: the word around each "@", going on after that word.
    for (qsizetype at = text.indexOf(QLatin1Char('@')); at >= 0;
         at = text.indexOf(QLatin1Char('@'), at + 1)) {
        const qsizetype start = WordStart(text, at);
        const qsizetype end = WordEnd(text, at);
        if (IsMailAddress(text.sliced(start, end - start))) {
            links.push_back({start, end});
        }
        at = end;
    }
    return links;
}

TShownText ShownTextOf(const QString& text) {
    std::vector<TTextRange> links = FindLinks(text);
    // A web address inside a mail word shares its end: marking the union is
    // marking both.
    std::sort(links.begin(), links.end(),
              [](const TTextRange& a, const TTextRange& b) { return a.From < b.From; });
    TShownText shown;
    shown.Text.reserve(text.size());
    shown.TextPos.reserve(std::size_t(text.size()) + 1);
    auto copy = [&](qsizetype from, qsizetype to) {
        for (; from < to; ++from) {
            const QChar c = text[from];
            if (c == QLatin1Char('\r')) {
                continue;
            }
            const bool crlf =
                c == QLatin1Char('\n') && from > 0 && text[from - 1] == QLatin1Char('\r');
            shown.TextPos.push_back(crlf ? from - 1 : from);
            shown.Text += c;
        }
    };
    qsizetype done = 0;
    for (auto link = links.begin(); link != links.end();) {
        TTextRange whole = *link;
        for (++link; link != links.end() && link->From < whole.To; ++link) {
            whole.To = std::max(whole.To, link->To);
        }
        copy(done, whole.From);
        const qsizetype start = shown.Text.size();
        if (whole.To - whole.From > TShownText::LinkShownMax) {
            qsizetype cut = whole.From + TShownText::LinkShownMax - 1;
            if (text[cut - 1].isHighSurrogate()) {
                --cut; // never half a character
            }
            copy(whole.From, cut);
            shown.TextPos.push_back(cut);
            shown.Text += QChar(0x2026);
        } else {
            copy(whole.From, whole.To);
        }
        shown.Links.push_back({start, shown.Text.size()});
        done = whole.To;
    }
    copy(done, text.size());
    shown.TextPos.push_back(text.size());
    return shown;
}

bool ContainsAnyText(const QString& text, const QStringList& needles) {
    for (const QString& n : needles) {
        if (text.contains(n, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool IsOpenableUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto"));
}

TFrmAbout::TFrmAbout(QWidget* owner, ITranslator& texts)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FTexts(texts) {
    setObjectName(QStringLiteral("FrmAbout"));
    setModal(true);
    setFixedSize(358, 330);
    setFont(FontOf({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                    QStringLiteral("Segoe UI"), QStringLiteral("Arial")},
                   11));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(6, 8, 32, 32);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(42, 1, 281, 270);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setReadOnly(true);
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setContextMenuPolicy(Qt::NoContextMenu);
    RichEdit1->setCursorWidth(0); // the caret stays hidden
    RichEdit1->setFont(FontOf(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")},
        12));
    QPalette pal = RichEdit1->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    pal.setColor(QPalette::Text, pal.color(QPalette::WindowText));
    RichEdit1->setPalette(pal);
    RichEdit1->viewport()->installEventFilter(this);
    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, &TFrmAbout::LinkAtCaret);
    connect(RichEdit1, &QTextEdit::selectionChanged, this, &TFrmAbout::LinkAtCaret);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 272, 358, 9);
    Bevel1->setFrameShape(QFrame::NoFrame);
    auto* line = new QFrame(Bevel1);
    line->setGeometry(0, 7, 358, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 281, 358, 49);
    CloseCaption = BuiltInCloseCaption();
    bnClose = new QPushButton(CloseCaption, Panel1);
    bnClose->setObjectName(QStringLiteral("bnClose"));
    bnClose->setGeometry(250, 11, 75, 25);
    bnClose->setDefault(true);
    connect(bnClose, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(RichEdit1, bnClose);
    LoadExeIcon();
}

void TFrmAbout::Open() {
    VersionFormat = BuiltInVersionFormat();
    Caption = BuiltInCaption();
    AboutText = BuiltInAboutText();
    CloseCaption = BuiltInCloseCaption();
    LoadExeIcon();
    ShowAbout();
    ShowModal();
}

int TFrmAbout::ShowModal() {
    ShowAbout();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    return exec();
}

void TFrmAbout::ShowAbout() {
    SetCaptions();
    setWindowTitle(Caption);
    bnClose->setText(CloseCaption);
    FText = GetVersion() + AboutText;
    FShown = ShownTextOf(FText);
    RichEdit1->setPlainText(FShown.Text); // plain text: never interpreted as markup
    MarkLinks();
    QTextCursor start(RichEdit1->document());
    RichEdit1->setTextCursor(start);
    LinkAtCaret();
}

void TFrmAbout::SetCaptions() {
    FTexts.MakeText(Section, QStringLiteral("SVersion"), VersionFormat, true);
    FTexts.MakeText(Section, QStringLiteral("SCaptionAbout"), Caption, true);
    FTexts.MakeText(Section, QStringLiteral("SAboutText"), AboutText, true);
    FTexts.MakeText(Section, QStringLiteral("SOK"), CloseCaption, true);
}

QString TFrmAbout::GetVersion() const {
    QString line = VersionFormat;
    line.replace(QStringLiteral("%s"), QStringLiteral(PELLIX_VERSION));
    return line;
}

void TFrmAbout::LoadExeIcon() {
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        Image1->setPixmap(icon.pixmap(QSize(32, 32), devicePixelRatioF()));
    }
}

void TFrmAbout::MarkLinks() {
    const QTextCursor remembered = RichEdit1->textCursor();
    QTextCharFormat link;
    link.setForeground(LinkBlue);
    link.setFontUnderline(true);
    // One edit: the text is laid out once, not once per link.
    QTextCursor c(RichEdit1->document());
    c.beginEditBlock();
    // Filling the text area gives the whole text the format at the caret,
    // which is a link's after a click on one: every opening starts plain.
    c.select(QTextCursor::Document);
    c.setCharFormat(QTextCharFormat());
    for (const TTextRange& r : FShown.Links) {
        c.setPosition(int(r.From));
        c.setPosition(int(r.To), QTextCursor::KeepAnchor);
        c.mergeCharFormat(link);
    }
    c.endEditBlock();
    RichEdit1->setTextCursor(remembered);
}

void TFrmAbout::LinkAtCaret() {
    const QString word =
        WordAt(FText, int(FShown.TextPosAt(RichEdit1->textCursor().selectionStart())));
    URL.clear();
    EMail.clear();
    if (IsMailAddress(word)) {
        EMail = word;
    } else if (ContainsAnyText(word, {QStringLiteral("http:/"), QStringLiteral("https:/"),
                                      QStringLiteral("www.")})) {
        URL = word;
    }
    qCDebug(lcAboutLinks).noquote() << QTime::currentTime().toString(QStringLiteral("hh:mm:ss:zzz"))
                                    << '\t' << URL << ", " << EMail;
}

void TFrmAbout::RichEdit1MouseUp() {
    if (!URL.isEmpty()) {
        QUrl url = QUrl::fromUserInput(URL);
        if (IsOpenableUrl(url) && url.scheme() != QLatin1String("mailto")) {
            QDesktopServices::openUrl(url);
        }
    }
    if (!EMail.isEmpty()) {
        // Everything but the "@" is encoded, so an address from a language
        // file cannot add recipients or headers.
        const QByteArray encoded = "mailto:" + QUrl::toPercentEncoding(EMail, "@") +
                                   "?subject=" + QUrl::toPercentEncoding(GetVersion());
        const QUrl mail = QUrl::fromEncoded(encoded, QUrl::StrictMode);
        if (IsOpenableUrl(mail)) {
            QDesktopServices::openUrl(mail);
        }
    }
}

bool TFrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichEdit1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press has placed the caret; any button opens what lies under it.
        RichEdit1MouseUp();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pellix
