// The window's numbers: separators read from the system as pellix-keys reads
// them, and a paste into a number being keyed in.

#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

using namespace pellix;

namespace {

// A window with the system's separators, under LC_ALL=C first.
class WindowNumbers : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("LC_ALL")) {
            savedLcAll = old;
        }
        SetLcAll("C");
        ASSERT_TRUE(dir.isValid());
        TShellEnvironment env = pellix::testing::TestEnvironment(dir.path());
        env.Regional.reset(); // the locale's, which these tests set
        w = std::make_unique<TZunMain>(std::move(env));
        w->show();
    }

    void TearDown() override {
        w.reset();
        if (savedLcAll) {
            qputenv("LC_ALL", savedLcAll->c_str());
        } else {
            qunsetenv("LC_ALL");
        }
    }

    static void SetLcAll(const char* value) { qputenv("LC_ALL", value); }

    void Click(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            THotSpot* s = w->HotSpot(name);
            ASSERT_NE(s, nullptr) << name;
            QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());
        }
    }

    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        w->PopupMenu()->findChild<QAction*>(QStringLiteral("Paste1"))->trigger();
    }

    QString Display() { return w->Label("lbDisplay")->text(); }

    std::optional<std::string> savedLcAll;
    QTemporaryDir dir;
    std::unique_ptr<TZunMain> w;
};

TEST_F(WindowNumbers, SeparatorsComeFromTheSystemLocale) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows takes them from the user's regional settings, not from LC_ALL";
#endif
    Click({"im2", "imEnter", "im1", "im0", "imPwr"});
    EXPECT_EQ(Display(), QStringLiteral("1024.000000000")) << "the C locale groups no digits";
    SetLcAll("de_DE.UTF-8");
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(w.get(), &change);
    Click({"imEnter"});
    EXPECT_EQ(Display(), QStringLiteral("1.024,000000000"));
}

TEST_F(WindowNumbers, PasteCompletesTheNumberBeingKeyedIn) {
    Click({"im9", "imEnter", "im4"});
    Paste(QStringLiteral("4,2")); // no number in the C locale: refused
    EXPECT_EQ(Display(), QStringLiteral("4_"));
    Paste(QStringLiteral("42"));
    EXPECT_EQ(Display(), QStringLiteral("42.000000000"));
    EXPECT_EQ(w->Zun.Stack, (std::array<double, 4>{42, 4, 9, 0}));
}

} // namespace
