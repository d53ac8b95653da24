#include "about/aboutbox.h"
#include "lang/tolvbase.h"

#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

using namespace pellix;

namespace {

// Catches what would be handed to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
        }
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"http", "https", "mailto", "file"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        box = std::make_unique<TFrmAbout>(nullptr, *base->LanMan);
        Fill(BuiltInAboutText());
    }

    void Fill(const QString& text) {
        box->VersionFormat = BuiltInVersionFormat();
        box->Caption = BuiltInCaption();
        box->AboutText = text;
        box->ShowAbout();
        box->show();
    }

    QString Shown() const { return box->RichEdit1->toPlainText(); }

    // Clicks the character at offset within the first occurrence of what.
    void ClickOn(const QString& what, int offset = 0, Qt::MouseButton button = Qt::LeftButton) {
        const int pos = int(Shown().indexOf(what)) + offset;
        ASSERT_GE(pos, offset) << what.toStdString();
        QTextCursor c(box->RichEdit1->document());
        c.setPosition(pos);
        const QRect r = box->RichEdit1->cursorRect(c);
        // Just right of the caret position: inside the character at pos.
        QTest::mouseClick(box->RichEdit1->viewport(), button, {},
                          QPoint(r.right() + 2, r.center().y()));
    }

    bool IsMarked(const QString& what) const {
        QTextCursor c(box->RichEdit1->document());
        c.setPosition(int(Shown().indexOf(what)) + 1);
        const QTextCharFormat f = c.charFormat();
        return f.foreground().color() == QColor(0, 0, 255) && f.fontUnderline();
    }

    UrlCatcher catcher;
    const std::unique_ptr<TTolvBase> base = CreateTolvBase(); // the box's translator
    std::unique_ptr<TFrmAbout> box;
};

TEST_F(AboutBox, TextsCaptionAndVersionLine) {
    EXPECT_EQ(box->windowTitle(), QStringLiteral("www.pellix.example Pellix"));
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Pellix Version 1.0.32\n\nCopyright")));
    EXPECT_TRUE(Shown().contains(QStringLiteral("\nhttp://www.pellix.example/\n")));
    EXPECT_TRUE(Shown().endsWith(QStringLiteral("\n\ne-mail: support@pellix.example\n")));
    EXPECT_EQ(box->size(), QSize(358, 330));
    EXPECT_EQ(box->bnClose->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box->RichEdit1->isReadOnly());
}

TEST_F(AboutBox, ClickAnywhereInTheWebAddressOpensExactlyIt) {
    const QString address = QStringLiteral("http://www.pellix.example/");
    for (int offset : {0, 1, 10, int(address.size()) - 1}) {
        catcher.opened.clear();
        ClickOn(address, offset);
        ASSERT_EQ(catcher.opened.size(), 1) << offset;
        EXPECT_EQ(catcher.opened[0], QUrl(address)) << offset;
    }
    EXPECT_TRUE(IsMarked(address));
}

TEST_F(AboutBox, OrdinaryWordsOpenNothing) {
    ClickOn(QStringLiteral("Version"), 2);
    ClickOn(QStringLiteral("e-mail:"), 1);
    ClickOn(QStringLiteral("reserved"), 3);
    EXPECT_TRUE(catcher.opened.isEmpty());
    EXPECT_FALSE(IsMarked(QStringLiteral("Version")));
}

TEST_F(AboutBox, MailAddressStartsAMessageWithTheVersionLineAsSubject) {
    ClickOn(QStringLiteral("support@"), 3);
    QTest::mouseClick(box->RichEdit1->viewport(), Qt::RightButton); // any button opens
    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[1], catcher.opened[0]);
    const QUrl mail = catcher.opened[0];
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mail.path(), QStringLiteral("support@pellix.example"));
    EXPECT_EQ(mail.query(QUrl::FullyDecoded), QStringLiteral("subject=Pellix Version 1.0.32"));
    EXPECT_EQ(mail.toEncoded(),
              QByteArray("mailto:support@pellix.example?subject=Pellix%20Version%201.0.32"));
    EXPECT_TRUE(IsMarked(QStringLiteral("support@pellix.example")));
}

TEST_F(AboutBox, AddressWithoutDotAfterTheAtIsNoMail) {
    Fill(QStringLiteral("\r\n\r\nwrite to root@localhost please\r\n"));
    EXPECT_FALSE(IsMarked(QStringLiteral("root@localhost")));
    ClickOn(QStringLiteral("root@localhost"), 2);
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(AboutBox, CapitalWebAddressIsMarkedAndOpened) {
    Fill(QStringLiteral("\r\n\r\nSee WWW.PELLIX.EXAMPLE/Docs today\r\n"));
    EXPECT_TRUE(IsMarked(QStringLiteral("WWW.PELLIX")));
    ClickOn(QStringLiteral("WWW.PELLIX"), 5);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].scheme(), QStringLiteral("http"));
    EXPECT_EQ(catcher.opened[0].host(), QStringLiteral("www.pellix.example"));
    EXPECT_EQ(catcher.opened[0].path(), QStringLiteral("/Docs"));
}

TEST_F(AboutBox, SecondReleaseOnTheSameLinkOpensAgain) {
    ClickOn(QStringLiteral("http://www"), 4);
    QTest::mouseRelease(box->RichEdit1->viewport(), Qt::LeftButton);
    EXPECT_EQ(catcher.opened.size(), 2);
}

TEST_F(AboutBox, OnlyWebAndMailAddressesReachTheDesktop) {
    Fill(QStringLiteral("\r\n\r\nfile:///etc/www.passwd x@y.z?cc=other a@b.c,evil@x.y\r\n"));
    ClickOn(QStringLiteral("file:"), 2);
    EXPECT_TRUE(catcher.opened.isEmpty());
    ClickOn(QStringLiteral("x@y"), 0);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_FALSE(catcher.opened[0].hasQuery() &&
                 catcher.opened[0].query(QUrl::FullyDecoded).contains(QStringLiteral("cc=")))
        << "the address cannot add recipients";
    ClickOn(QStringLiteral("evil"), 1);
    EXPECT_EQ(catcher.opened.size(), 1) << "two addresses in one word are none";
}

TEST_F(AboutBox, MarkupFromALanguageFileIsShownAsText) {
    Fill(QStringLiteral("\r\n\r\n<b>bold</b> <a href=\"http://evil\">x</a>\r\n"));
    EXPECT_TRUE(Shown().contains(QStringLiteral("<b>bold</b>")));
}

TEST_F(AboutBox, ReopeningShowsTheSameTextsWithTheCaretAtTheStart) {
    box->hide();
    const QString first = [&] {
        QTimer::singleShot(0, box.get(), [&] { box->bnClose->click(); });
        box->Open();
        return Shown();
    }();
    EXPECT_FALSE(box->isVisible());
    box->RichEdit1->moveCursor(QTextCursor::End);
    QTimer::singleShot(0, box.get(), [&] {
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->RichEdit1->textCursor().position(), 0);
        box->bnClose->click();
    });
    box->Open();
    EXPECT_EQ(Shown(), first);
    EXPECT_TRUE(IsMarked(QStringLiteral("http://www.pellix.example/")));
    EXPECT_TRUE(box->URL.isEmpty());
}

// Each opening looks like the first, whatever was clicked before: the box is
// opened, a link clicked, the box closed with OK and opened again.
class ReopenAfterClick : public AboutBox, public ::testing::WithParamInterface<const char*> {
protected:
    // Opens the box, runs what is asked while it shows, closes it with OK.
    QImage OpenAnd(const std::function<void()>& whileOpen) {
        QImage shot;
        QTimer::singleShot(0, box.get(), [&] {
            whileOpen();
            shot = box->grab().toImage();
            QTest::mouseClick(box->bnClose, Qt::LeftButton);
        });
        box->Open();
        return shot;
    }
};

TEST_P(ReopenAfterClick, LooksLikeTheFirstOpening) {
    box->hide();
    const QImage first = OpenAnd([] {});
    OpenAnd([&] { ClickOn(QString::fromLatin1(GetParam()), 3); });
    ASSERT_EQ(catcher.opened.size(), 1);
    const QImage again = OpenAnd([] {});
    EXPECT_FALSE(IsMarked(QStringLiteral("Version")));
    EXPECT_FALSE(IsMarked(QStringLiteral("e-mail:")));
    EXPECT_TRUE(again == first) << "the reopened box differs from the first opening";
}

INSTANTIATE_TEST_SUITE_P(Links, ReopenAfterClick, ::testing::Values("http://www", "support@"));

struct MarkCase {
    const char* name;
    const char* text; // UTF-8, after the version line
    std::vector<const char*> marked;
    friend std::ostream& operator<<(std::ostream& os, const MarkCase& c) { return os << c.name; }
};

class MarkedRuns : public AboutBox, public ::testing::WithParamInterface<MarkCase> {
protected:
    // The runs of blue underlined characters, in text order.
    QStringList Runs() const {
        QStringList runs;
        for (QTextBlock b = box->RichEdit1->document()->begin(); b.isValid(); b = b.next()) {
            bool inRun = false;
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                const bool marked =
                    f.fontUnderline() && f.foreground().color() == QColor(0, 0, 255);
                if (marked && !inRun) {
                    runs << QString();
                }
                if (marked) {
                    runs.last() += it.fragment().text();
                }
                inRun = marked;
            }
        }
        return runs;
    }
};

TEST_P(MarkedRuns, ExactlyTheLinksAreMarked) {
    Fill(QString::fromUtf8(GetParam().text));
    QStringList expected;
    for (const char* m : GetParam().marked) {
        expected << QString::fromUtf8(m);
    }
    EXPECT_EQ(Runs().join(QLatin1Char('|')).toStdString(),
              expected.join(QLatin1Char('|')).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarkedRuns,
    ::testing::Values(
        MarkCase{
            "BuiltIn",
            "\r\n\r\nCopyright\r\nhttp://www.pellix.example/\r\ne-mail: support@pellix.example\r\n",
            {"http://www.pellix.example/", "support@pellix.example"}},
        // A capital dotted I lowers to two characters; positions stay the text's.
        MarkCase{"LetterThatLowersToTwo",
                 "\r\n\u0130\u0130\u0130 http://a.example/ x",
                 {"http://a.example/"}},
        MarkCase{"WwwBeforeTheLastHttpStaysPlain",
                 "\r\nwww.first.example http://a.example/ www.b.example",
                 {"http://a.example/", "www.b.example"}},
        MarkCase{"TwoAddressesInOneWord", "\r\nto a@b.example,evil@x.example now", {}},
        MarkCase{"WebAddressInsideAMailWord", "\r\nxwww.a@b.example", {"xwww.a@b.example"}}));

TEST_F(AboutBox, LongLinkIsShownShortAndOpensWhole) {
    const QString target = QStringLiteral("http://x.example/") + QString(1000000, QLatin1Char('a'));
    Fill(QStringLiteral("\r\n\r\nsee ") + target + QStringLiteral(" end\r\n"));
    const QString shown = Shown();
    const qsizetype from = shown.indexOf(QStringLiteral("http://"));
    const qsizetype to = shown.indexOf(QStringLiteral(" end"));
    ASSERT_EQ(to - from, TShownText::LinkShownMax);
    EXPECT_EQ(shown.sliced(from, to - from - 1), target.left(TShownText::LinkShownMax - 1));
    EXPECT_EQ(shown[to - 1], QChar(0x2026));
    EXPECT_TRUE(IsMarked(QStringLiteral("http://x")));
    for (int offset : {0, int(TShownText::LinkShownMax) - 1}) {
        catcher.opened.clear();
        ClickOn(QStringLiteral("http://x"), offset);
        ASSERT_EQ(catcher.opened.size(), 1) << offset;
        EXPECT_EQ(catcher.opened[0].toString(), target) << offset;
    }
    catcher.opened.clear();
    ClickOn(QStringLiteral("end"), 1);
    EXPECT_TRUE(catcher.opened.isEmpty());
}

TEST_F(AboutBox, LanguageFileTranslatesVersionLineAndCaption) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = QStringLiteral(PELLIX_LANG_TEST_DATA);
    for (const char* file : {"German.lan", "GermanCommon.lan"}) {
        ASSERT_TRUE(QFile::copy(data + QLatin1Char('/') + QLatin1String(file),
                                dir.filePath(QLatin1String(file))));
    }
    // The common file also translates the caption and the button for this test.
    QFile common(dir.filePath(QStringLiteral("GermanCommon.lan")));
    ASSERT_TRUE(common.open(QIODevice::Append));
    common.write("SCaptionAbout=\"\xc3\x9c"
                 "ber Pellix\"\r\nSOK=\"Schlie\xc3\x9f"
                 "en\"\r\n");
    common.close();

    base->LanMan->SetLanguageFolder(dir.path() + QLatin1Char('/'));
    base->LanMan->SetLanguage(QStringLiteral("Deutsch"));
    box->hide();
    QTimer::singleShot(0, box.get(), [&] { box->bnClose->click(); });
    box->Open();
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Pellix Fassung 1.0.32\n")));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("\u00dcber Pellix"));
    EXPECT_EQ(box->bnClose->text(), QStringLiteral("Schlie\u00dfen"));
    EXPECT_TRUE(Shown().contains(QStringLiteral("e-mail: support@pellix.example")))
        << "untranslated texts keep their built-in value";
}

struct WordCase {
    const char* text;
    int pos;
    const char* word;
    // Parameters print by their first field, never as raw bytes.
    friend std::ostream& operator<<(std::ostream& os, const WordCase& c) {
        return os << ::testing::PrintToString(c.text);
    }
};

class WordAtCases : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordAtCases, RunOfNonBlankCharacters) {
    const WordCase& c = GetParam();
    EXPECT_EQ(WordAt(QString::fromLatin1(c.text), c.pos), QString::fromLatin1(c.word));
}

INSTANTIATE_TEST_SUITE_P(Table, WordAtCases,
                         ::testing::Values(WordCase{"ab cd", 0, "ab"}, WordCase{"ab cd", 1, "ab"},
                                           WordCase{"ab cd", 2, "cd"}, WordCase{"ab  cd", 2, ""},
                                           WordCase{"ab cd", 4, "cd"}, WordCase{"ab cd", 5, ""},
                                           WordCase{"x\r\ny", 1, ""}, WordCase{"x\r\ny", 2, "y"},
                                           WordCase{"e-mail: a@b.c", 9, "a@b.c"},
                                           WordCase{"", 0, ""}));

struct MailCase {
    const char* word;
    bool mail;
    friend std::ostream& operator<<(std::ostream& os, const MailCase& c) {
        return os << ::testing::PrintToString(c.word);
    }
};

class MailAddressCases : public ::testing::TestWithParam<MailCase> {};

TEST_P(MailAddressCases, OnlyOneAddrSpecIsAnAddress) {
    EXPECT_EQ(IsMailAddress(QString::fromLatin1(GetParam().word)), GetParam().mail);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MailAddressCases,
    ::testing::Values(MailCase{"a@b.c", true}, MailCase{"first.last+tag@sub.example.org", true},
                      MailCase{"a.b@c", false}, MailCase{"abc", false}, MailCase{"@b.c", false},
                      MailCase{"a@b.c,evil@x.y", false}, MailCase{"a@b.c;evil@x.y", false},
                      MailCase{"a@b.c,d.e", false}, MailCase{"a@b@c.d", false},
                      MailCase{"<a@b.c>", false}, MailCase{"Eve<a@b.c", false},
                      MailCase{"a b@c.d", false}, MailCase{"group:a@b.c", false},
                      MailCase{"a@b.c(x)", false}));

TEST(AboutLinks, ContainsAnyTextIgnoresLetterCase) {
    EXPECT_TRUE(ContainsAnyText(QStringLiteral("xHTTP://y"), {QStringLiteral("http:/")}));
}

// Twenty thousand addresses of every kind, found in one pass each: every one
// where it was put, web addresses first (http:/ ones, then https:/ ones after
// the last of those, then www. ones after the last of those), then mail
// addresses; shown in text order, each as in the text.
TEST(AboutLinks, ManyAddressesAreFoundExactly) {
    QString text = QStringLiteral("www.before.all ");
    std::vector<TTextRange> kinds[4]; // http, https, www, mail
    const char* formats[] = {"http://h%1.example/", "HTTPS://s%1.example/", "www.w%1.example",
                             "m%1@x.example"};
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < 5000; ++i) {
            for (int k : {kind, 3}) {
                const qsizetype from = text.size();
                text += QString::fromLatin1(formats[k]).arg(i);
                kinds[k].push_back({from, text.size()});
                text += i % 7 == 0 ? QStringLiteral("\r\n") : QStringLiteral(" word ");
            }
        }
    }
    std::vector<TTextRange> expected;
    for (const auto& k : kinds) {
        expected.insert(expected.end(), k.begin(), k.end());
    }
    EXPECT_TRUE(FindLinks(text) == expected) << "the first www. address lies before every http:/";

    std::sort(expected.begin(), expected.end(),
              [](const TTextRange& a, const TTextRange& b) { return a.From < b.From; });
    const TShownText shown = ShownTextOf(text);
    ASSERT_EQ(shown.Links.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TTextRange& r = shown.Links[i];
        ASSERT_EQ(shown.TextPosAt(r.From), expected[i].From) << i;
        ASSERT_EQ(shown.Text.sliced(r.From, r.To - r.From).toStdString(),
                  text.sliced(expected[i].From, expected[i].To - expected[i].From).toStdString());
    }
}

} // namespace

#include "aboutbox_test.moc"
