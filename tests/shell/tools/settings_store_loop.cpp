// Stores the settings over and over, each time a new consistent state: every
// stack entry, register and LastX is derived from the round k. Used by a test
// that kills this process at random moments.
// Usage: settings_store_loop FILE

#include "../settingsfakehost.h"
#include "settings.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    pellix::TZunCalc zun(1);
    pellix::testing::TFakeSettingsHost host;
    pellix::TSettings settings(QString::fromLocal8Bit(argv[1]), zun, host, QString());
    settings.SetDecimalSeparator(QStringLiteral("."));
    for (int k = 1;; ++k) {
        for (size_t i = 0; i < zun.Stack.size(); ++i) {
            zun.Stack[i] = k + 0.25 * static_cast<double>(i);
        }
        for (size_t i = 0; i < zun.Reg.size(); ++i) {
            zun.Reg[i] = -k - 0.5 * static_cast<double>(i);
        }
        zun.LastX = k;
        host.Pos = QPoint(k, -k);
        settings.StoreSettings();
    }
}
