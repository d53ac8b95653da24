#include "engine/systemseparators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace pellix {
namespace {

struct SeparatorCase {
    const char* posixName;   // locale name on Linux (scripts/install-deps.sh installs them)
    const char* windowsName; // on Windows; nullptr: no such locale there
    std::string decimal;
    std::vector<std::string> thousands; // any of these
    friend std::ostream& operator<<(std::ostream& os, const SeparatorCase& c) {
        return os << c.posixName;
    }
};

class SystemSeparatorsOf : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(SystemSeparatorsOf, NamedLocale) {
    const SeparatorCase& c = GetParam();
#ifdef _WIN32
    const char* name = c.windowsName;
#else
    const char* name = c.posixName;
#endif
    if (name == nullptr) {
        GTEST_SKIP() << "no such locale on this system";
    }
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const Separators sep = SystemSeparators(name);
    EXPECT_EQ(sep.Decimal, c.decimal) << name << ": is the locale installed?";
    EXPECT_NE(std::find(c.thousands.begin(), c.thousands.end(), sep.Thousands), c.thousands.end())
        << "thousands separator \"" << sep.Thousands << '"';
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before) << "the program's locale stays";
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemSeparatorsOf,
    ::testing::Values(SeparatorCase{"C", nullptr, ".", {""}}, // no grouping at all
                      SeparatorCase{"POSIX", nullptr, ".", {""}},
                      SeparatorCase{"en_US.UTF-8", "en-US", ".", {","}},
                      SeparatorCase{"de_DE.UTF-8", "de-DE", ",", {"."}},
                      // Thin or narrow no-break space, or a no-break space, by the system's data.
                      SeparatorCase{"fr_FR.UTF-8", "fr-FR", ",", {"\u202F", "\u00A0", "\u2009"}},
                      // Latin-1 data: the no-break space 0xA0 arrives as UTF-8.
                      SeparatorCase{"fr_FR", nullptr, ",", {"\u00A0"}},
                      SeparatorCase{"de_CH.UTF-8", "de-CH", ".", {"\u2019", "'"}},
                      SeparatorCase{"xx_NOSUCH.UTF-8", "xx-NOSUCH", ".", {""}}));

#ifndef _WIN32
// Runs f with LC_ALL set to value, restoring it afterwards.
template <typename F>
void WithLcAll(const char* value, F f) {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("LC_ALL", value, 1);
    f();
    if (old != nullptr) {
        ::setenv("LC_ALL", saved.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(SystemSeparators, WithoutANameTheEnvironmentDecides) {
    WithLcAll("de_DE.UTF-8", [] { EXPECT_EQ(SystemSeparators(), (Separators{",", "."})); });
    WithLcAll("C", [] { EXPECT_EQ(SystemSeparators(), (Separators{".", ""})); });
}
#endif

} // namespace
} // namespace pellix
