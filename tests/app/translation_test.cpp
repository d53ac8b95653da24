#include "lang/langmanager.h"
#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace pellix;

namespace {

struct TextCase {
    const char* line;    // in section [ZunMain] of the language file
    const char* control; // a menu item, else a hot spot's accessible name
    const char* builtIn;
    const char* translated;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.line; }
};

class WindowTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(WindowTexts, SwitchingLanguageTranslatesTheWindow) {
    const TextCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile lan(dir.filePath(QStringLiteral("German.lan")));
    ASSERT_TRUE(lan.open(QIODevice::WriteOnly));
    lan.write(
        QByteArray("[Pellix Emulator (http://www.pellix.example/)]\r\nLanguage=\"Deutsch\"\r\n"
                   "CommonLanguageFile=\"German.lan\"\r\n[ZunMain]\r\n") +
        c.line + "\r\n");
    lan.close();

    TLangManager texts;
    TShellEnvironment env = pellix::testing::TestEnvironment(dir.path());
    env.Texts = &texts;
    TZunMain w(std::move(env));
    const auto shown = [&w, &c] {
        if (const auto* item = w.PopupMenu()->findChild<QAction*>(QLatin1String(c.control))) {
            return item->text();
        }
        return w.HotSpot(c.control)->accessibleDescription();
    };
    EXPECT_EQ(shown(), QString::fromUtf8(c.builtIn));
    texts.SetLanguageFolder(dir.path());
    texts.SetLanguage(QStringLiteral("Deutsch"));
    EXPECT_EQ(shown(), QString::fromUtf8(c.translated));
    EXPECT_EQ(w.PopupMenu()->actions().constLast()->text(), QStringLiteral("Close"))
        << "a text the file lacks keeps its built-in value";
}

INSTANTIATE_TEST_SUITE_P(Rows, WindowTexts,
                         ::testing::Values(TextCase{"PopupMenu1.mnSound.Caption=\"Ton\"", "mnSound",
                                                    "Sound", "Ton"},
                                           TextCase{"SNameF=\"f-Taste: %1\"", "im7",
                                                    "f: FIX, g: DEG", "f-Taste: FIX, g: DEG"}));

} // namespace
