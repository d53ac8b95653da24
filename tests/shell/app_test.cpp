#include "engine/zuncalc.h"
#include "shell/pellixapp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include <gtest/gtest.h>

#include <string>

using namespace pellix;

namespace {

// An object whose event handler fails with a calculator fault.
class Faulty : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            throw EInvalidOp();
        }
        return QObject::event(e);
    }
};

TEST(FaultHandler, NotifyCatchesWhatEscapesAnEventHandler) {
    auto* app = dynamic_cast<TPellixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    std::string reported;
    app->SetFaultHandler([&](std::string_view message) { reported = message; });
    Faulty faulty;
    QEvent e(QEvent::User);
    EXPECT_TRUE(QCoreApplication::sendEvent(&faulty, &e));
    EXPECT_EQ(reported, "Ung\u00fcltige Gleitkommaoperation");
    app->SetFaultHandler(nullptr);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&faulty, &e)) << "no handler: still caught";
}

// Image-format plugins mapped into this process (Linux); -1 elsewhere.
int ImagePluginsLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return static_cast<int>(maps.readAll().count("/imageformats/"));
}

TEST(ProgramIcon, SevenSizesReadWithoutImagePlugins) {
    const int before = ImagePluginsLoaded();
    const QIcon icon = ProgramIcon();
    QList<QSize> sizes;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        sizes << QSize(size, size);
    }
    EXPECT_EQ(icon.availableSizes(), sizes);
    EXPECT_GT(icon.pixmap(QSize(256, 256)).toImage().pixelColor(128, 128).alpha(), 0);
    EXPECT_EQ(ImagePluginsLoaded(), before);
}

} // namespace
