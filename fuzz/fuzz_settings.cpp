// The settings load over any file content, then a store of what was loaded.

#include "shell/settings.h"
#include "shell/settingshost.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

class Host : public pellix::ISettingsHost {
public:
    pellix::TWindowSettings Values{.Left = 427, .Top = 196};
    pellix::TWindowSettings WindowSettings() const override { return Values; }
    void SetWindowSettings(const pellix::TWindowSettings& values) override { Values = values; }
};

std::unique_ptr<QTemporaryDir> g_dir;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = g_dir->filePath(QStringLiteral("Pellix.ini"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return 0;
    }
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    f.close();
    pellix::TZunCalc zun(1);
    Host host;
    pellix::TSettings settings(path, zun, host);
    settings.SetDecimalSeparator(size % 2 ? QStringLiteral(",") : QStringLiteral("."));
    settings.LoadSettings();
    (void)zun.Display();
    settings.StoreSettings();
    return 0;
}
