#include "aboutbox.h"
#include "tolvbase.h"

#include <QDesktopServices>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

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
        box = std::make_unique<TFrmAbout>(nullptr);
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
    Fill(QStringLiteral("\r\n\r\nfile:///etc/www.passwd x@y.z?cc=other@example.org\r\n"));
    ClickOn(QStringLiteral("file:"), 2);
    EXPECT_TRUE(catcher.opened.isEmpty());
    ClickOn(QStringLiteral("x@y"), 0);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_FALSE(catcher.opened[0].hasQuery() &&
                 catcher.opened[0].query(QUrl::FullyDecoded).contains(QStringLiteral("cc=")))
        << "the address cannot add recipients";
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

TEST_F(AboutBox, LanguageFileTranslatesVersionLineAndCaption) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = QStringLiteral(PELLIX_ABOUT_TEST_DATA);
    for (const char* file : {"German.lan", "GermanCommon.lan"}) {
        ASSERT_TRUE(QFile::copy(data + QLatin1Char('/') + QLatin1String(file),
                                dir.filePath(QLatin1String(file))));
    }
    // The common file also translates the caption for this test.
    QFile common(dir.filePath(QStringLiteral("GermanCommon.lan")));
    ASSERT_TRUE(common.open(QIODevice::Append));
    common.write("SCaptionAbout=\"\xc3\x9c"
                 "ber Pellix\"\r\n");
    common.close();

    const std::unique_ptr<TTolvBase> base = CreateTolvBase();
    base->LanMan->SetLanguageFolder(dir.path() + QLatin1Char('/'));
    base->LanMan->SetLanguage(QStringLiteral("Deutsch"));
    box->hide();
    QTimer::singleShot(0, box.get(), [&] { box->bnClose->click(); });
    box->Open();
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("Pellix Fassung 1.0.32\n")));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("\u00dcber Pellix"));
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

TEST(AboutLinks, MailAddressNeedsADotAfterTheAt) {
    EXPECT_TRUE(IsMailAddress(QStringLiteral("a@b.c")));
    EXPECT_FALSE(IsMailAddress(QStringLiteral("a.b@c")));
    EXPECT_FALSE(IsMailAddress(QStringLiteral("abc")));
    EXPECT_TRUE(ContainsAnyText(QStringLiteral("xHTTP://y"), {QStringLiteral("http:/")}));
}

} // namespace

#include "aboutbox_test.moc"
