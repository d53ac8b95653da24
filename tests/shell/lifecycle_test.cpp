// Every orderly end of the program stores its state exactly once: the close
// key, the menu's Close, a typed Q, the window manager's close and the
// application quitting (the termination signals: termination_posix_test.cpp).

#include "ini/inifile.h"
#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"
#include "waitfor.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

using namespace pellix;

namespace {

struct EndCase {
    const char* name;
    std::function<void(TZunMain&)> end;
    friend std::ostream& operator<<(std::ostream& os, const EndCase& c) { return os << c.name; }
};

class EndOfRun : public ::testing::TestWithParam<EndCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TZunMain>(pellix::testing::TestEnvironment(dir.path()));
        w->Settings().SetSaveHooks(
            {[this](const std::filesystem::path& temp, const std::filesystem::path& target) {
                ++stores;
                std::error_code ec;
                std::filesystem::rename(temp, target, ec);
                return ec;
            }});
        w->show();
    }

    QTemporaryDir dir;
    std::unique_ptr<TZunMain> w;
    int stores = 0;
};

TEST_P(EndOfRun, StoresTheStateOnce) {
    for (const char* key : {"im7", "im7", "imEnter", "im5", "imAdd"}) {
        THotSpot* spot = w->HotSpot(key);
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
    }
    const int before = stores; // the first run's shortcut stores nothing
    RunLoopWith([this] { GetParam().end(*w); });
    EXPECT_EQ(stores - before, 1);
    const auto doc = LoadIniFile(dir.filePath(QStringLiteral("pellix.ini")).toStdString());
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->ReadString("ZunMain", "Zun.Stack[0]"), "82");
    EXPECT_EQ(doc->ReadString("ZunMain", "Zun.LastX"), "5");
}

void ClickOn(TZunMain& w) {
    THotSpot* spot = w.HotSpot("imClose");
    QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndOfRun,
    ::testing::Values(
        EndCase{"CloseKey", ClickOn},
        EndCase{"CloseMenuItem",
                [](TZunMain& w) {
                    w.PopupMenu()->findChild<QAction*>(QStringLiteral("Close1"))->trigger();
                }},
        EndCase{"TypedQ", [](TZunMain& w) { QTest::keyClick(&w, Qt::Key_Q); }},
        EndCase{"WindowManagerClose", [](TZunMain& w) { w.close(); }},
        EndCase{"ApplicationQuit", [](TZunMain&) { QCoreApplication::quit(); }},
        // What a termination request and the end of a Windows session do.
        EndCase{"EventLoopEnds", [](TZunMain&) { QCoreApplication::exit(0); }}));

TEST_F(EndOfRun, AWindowShownAgainStoresAtItsNextEnd) {
    w->close();
    w->show();
    RunLoopWith([this] { w->close(); });
    EXPECT_EQ(stores, 2);
}

} // namespace
