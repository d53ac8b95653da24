// Where the system has no settings-change broadcast, the window's locale and
// theme events stand for it: the window stores its settings on them.

#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace pellix;

namespace {

struct TEventCase {
    const char* Name;
    QEvent::Type Type;
    bool Stores;
};

void PrintTo(const TEventCase& c, std::ostream* os) {
    *os << c.Name;
}

class SettingChangeEvents : public ::testing::TestWithParam<TEventCase> {};

TEST_P(SettingChangeEvents, StoreTheSettingsOnlyForLocaleAndTheme) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TZunMain window(pellix::testing::TestEnvironment(dir.path()));
    const QString file = dir.filePath(QStringLiteral("pellix.ini"));
    ASSERT_FALSE(QFileInfo::exists(file));
    QEvent change(GetParam().Type);
    QApplication::sendEvent(&window, &change);
    EXPECT_EQ(QFileInfo::exists(file), GetParam().Stores);
}

INSTANTIATE_TEST_SUITE_P(Events, SettingChangeEvents,
                         ::testing::Values(TEventCase{"Locale", QEvent::LocaleChange, true},
                                           TEventCase{"Theme", QEvent::ThemeChange, true},
                                           TEventCase{"Font", QEvent::FontChange, false},
                                           TEventCase{"Palette", QEvent::PaletteChange, false}));

} // namespace
