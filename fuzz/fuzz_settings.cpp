// The settings load over any file content, then a store of what was loaded.

#include "settings.h"
#include "settingshost.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

class Host : public pellix::ISettingsHost {
public:
    QPoint Pos{427, 196};
    bool Sound = true, OnTop = true;
    double Scale = 1, Last = -1;
    QPoint WindowPos() const override { return Pos; }
    void SetWindowPos(QPoint p) override { Pos = p; }
    bool IsSound() const override { return Sound; }
    void SetSound(bool on) override { Sound = on; }
    bool StayOnTop() const override { return OnTop; }
    void SetStayOnTop(bool on) override { OnTop = on; }
    double TotalScale() const override { return Scale; }
    void SetTotalScale(double s) override { Scale = s; }
    double LastShowAbout() const override { return Last; }
    void SetLastShowAbout(double w) override { Last = w; }
    void SyncTrigCaption() override {}
    void SetShowOnDesktopChecked(bool) override {}
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
    pellix::TSettings settings(path, zun, host, QString());
    settings.SetDecimalSeparator(size % 2 ? QStringLiteral(",") : QStringLiteral("."));
    settings.LoadSettings();
    (void)zun.Display();
    settings.StoreSettings();
    return 0;
}
