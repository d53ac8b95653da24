// A process killed while it stores the settings leaves a file that holds one
// complete state, never a mix or a fragment.

#include "enginekeys.h"
#include "inifile.h"
#include "zuncalc.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>

using namespace pellix;

namespace {

// The round k of the state in the file, or -1 when the keys do not agree.
int RoundOf(const TIniDocument& doc) {
    TZunCalc zun(1);
    zun.LastX = std::nan("");
    ReadEngineKeys(doc, zun, ".");
    const double k = zun.LastX;
    if (!(k >= 1) || k != std::floor(k) || doc.ReadInteger("ZunMain", "Left", 0) != int(k) ||
        doc.ReadInteger("ZunMain", "Top", 0) != -int(k) ||
        !doc.ReadString("ZunMain", "TotalScale")) {
        return -1;
    }
    for (size_t i = 0; i < zun.Stack.size(); ++i) {
        if (zun.Stack[i] != k + 0.25 * double(i)) {
            return -1;
        }
    }
    for (size_t i = 0; i < zun.Reg.size(); ++i) {
        if (zun.Reg[i] != -k - 0.5 * double(i)) {
            return -1;
        }
    }
    return int(k);
}

TEST(SettingsCrash, KilledStoresLeaveTheOldOrTheNewStateOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Pellix.ini"));
    int previous = 0;
    int seenStates = 0;
    for (int run = 0; run < 100; ++run) {
        QProcess child;
        child.start(QStringLiteral(PELLIX_STORE_LOOP), {file});
        ASSERT_TRUE(child.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(2, 40));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished();
        const auto doc = LoadIniFile(file.toStdString());
        if (!doc || doc->Text().empty()) {
            ASSERT_EQ(previous, 0) << "a stored file never disappears again";
            continue; // killed before its first store
        }
        const int k = RoundOf(*doc);
        ASSERT_GE(k, 1) << "run " << run << ": a torn file:\n" << doc->Text();
        seenStates += k != previous;
        previous = k;
    }
    EXPECT_GT(seenStates, 10) << "the child stored too rarely for the test to mean much";
    // Kills between writing and renaming may leave a temporary file; never more
    // than one per kill, and the settings file itself is intact.
    EXPECT_LE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 101);
}

} // namespace
