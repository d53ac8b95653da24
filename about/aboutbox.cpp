#include "aboutbox.h"

#include "tolvbase.h"
#include "vendor.h"

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

namespace pellix {

Q_LOGGING_CATEGORY(lcAboutLinks, "pellix.about.links", QtWarningMsg)

namespace {

const QString Section = QStringLiteral("FrmAbout");
const QColor LinkBlue(0, 0, 255);

bool IsBlank(QChar c) {
    return c.unicode() <= 0x20;
}

// Positions in the box's text count a line break as CR LF; the text area
// counts it as one character.
int AreaPos(const QString& text, int pos) {
    return pos - static_cast<int>(QStringView(text).left(pos).count(QLatin1Char('\n')));
}

int TextPos(const QString& text, int areaPos) {
    int seen = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') && i > 0 && text[i - 1] == QLatin1Char('\r')) {
            continue; // CR LF is one line break of the text area, standing at its CR
        }
        if (seen == areaPos) {
            return i;
        }
        ++seen;
    }
    return int(text.size());
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
    return at >= 0 && word.indexOf(QLatin1Char('.'), at + 1) > at;
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

TFrmAbout::TFrmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
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
    bnClose = new QPushButton(tr("OK"), Panel1);
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
    FText = GetVersion() + AboutText;
    QString shown = FText;
    shown.remove(QLatin1Char('\r'));
    RichEdit1->setPlainText(shown); // plain text: never interpreted as markup
    MarkLinks();
    QTextCursor start(RichEdit1->document());
    RichEdit1->setTextCursor(start);
    LinkAtCaret();
}

void TFrmAbout::SetCaptions() {
    MakeText(Section, QStringLiteral("SVersion"), VersionFormat, true);
    MakeText(Section, QStringLiteral("SCaptionAbout"), Caption, true);
    MakeText(Section, QStringLiteral("SAboutText"), AboutText, true);
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
    const QString lower = FText.toLower();
    QTextCharFormat link;
    link.setForeground(LinkBlue);
    link.setFontUnderline(true);
    auto mark = [&](qsizetype from, qsizetype to) {
        QTextCursor c(RichEdit1->document());
        c.setPosition(AreaPos(FText, int(from)));
        c.setPosition(AreaPos(FText, int(to)), QTextCursor::KeepAnchor);
        c.mergeCharFormat(link);
    };
    // Web addresses: http:/ first, then https:/, then www., each from where
    // the previous address ended.
    qsizetype pos = 0;
    for (;;) {
        qsizetype found = -1;
        for (const char* prefix : {"http:/", "https:/", "www."}) {
            found = lower.indexOf(QLatin1String(prefix), pos);
            if (found >= 0) {
                break;
            }
        }
        if (found < 0) {
            break;
        }
        qsizetype end = found;
        while (end < lower.size() && !IsBlank(lower[end])) {
            ++end;
        }
        mark(found, end);
        pos = end;
    }
    // E-mail addresses: the word around each "@".
    for (qsizetype at = lower.indexOf(QLatin1Char('@')); at >= 0;
         at = lower.indexOf(QLatin1Char('@'), at + 1)) {
        const QString word = WordAt(lower, int(at));
        qsizetype start = at;
        while (start > 0 && !IsBlank(lower[start - 1])) {
            --start;
        }
        if (IsMailAddress(word)) {
            mark(start, start + word.size());
        }
        at = start + word.size(); // go on after the word
    }
    RichEdit1->setTextCursor(remembered);
}

void TFrmAbout::LinkAtCaret() {
    const int pos = TextPos(FText, RichEdit1->textCursor().selectionStart());
    const QString word = WordAt(FText, pos);
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
