// Runs a Qt test suite inside the program's application object on the
// offscreen platform, so that real widgets and events work without a display.

#include "shell/pellixapp.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

QtMessageHandler previous = nullptr;

// The offscreen platform warns about every fixed-size window; keep the log readable.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) {
        return;
    }
    if (previous != nullptr) {
        previous(type, context, message);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Keep every standard location (settings, desktop) away from the user's own.
    QStandardPaths::setTestModeEnabled(true);
    previous = qInstallMessageHandler(QuietHandler);
    pellix::TPellixApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
