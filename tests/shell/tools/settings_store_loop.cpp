// Stores the settings over and over, each time a new consistent state: every
// stack entry, register and LastX is derived from the round k, counted on from
// the round in the file. Writes a line
// to stdout after each store. Used by a test that kills this process at
// random moments.
// Usage: settings_store_loop FILE [ROUNDS [FALLBACK]]  (without ROUNDS: for ever)
//        settings_store_loop --program-file  (prints the program's own path)

#include "seam/filepath.h"
#include "shell/platform/settingspaths.h"
#include "shell/settings.h"
#include "tests/shell/settingsfakehost.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2 || argc > 4) {
        return 2;
    }
    if (std::string_view(argv[1]) == "--program-file") {
        std::puts(pellix::DisplayPath(pellix::ProgramFile()).toLocal8Bit().constData());
        return 0;
    }
    const long rounds = argc >= 3 ? std::strtol(argv[2], nullptr, 10) : -1;
    pellix::TZunCalc zun(1);
    pellix::testing::TFakeSettingsHost host;
    pellix::TSettings settings(pellix::TSettingsFiles(argv[1], argc == 4
                                                                   ? std::filesystem::path(argv[3])
                                                                   : std::filesystem::path()),
                               zun, host);
    settings.SetDecimalSeparator(QStringLiteral("."));
    settings.LoadSettings(); // goes on from the round in the file
    const int first = static_cast<int>(zun.LastX) + 1;
    for (int k = first; rounds < 0 || k < first + rounds; ++k) {
        for (size_t i = 0; i < zun.Stack.size(); ++i) {
            zun.Stack[i] = k + 0.25 * static_cast<double>(i);
        }
        for (size_t i = 0; i < zun.Reg.size(); ++i) {
            zun.Reg[i] = -k - 0.5 * static_cast<double>(i);
        }
        zun.LastX = k;
        host.MoveTo(QPoint(k, -k));
        settings.StoreSettings();
        std::puts("stored");
        std::fflush(stdout);
    }
}
