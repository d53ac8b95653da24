// A process killed while it stores the settings leaves a file that holds one
// complete state, never a mix, and no fragment that others could read or that
// outlives the next store.

#include "ini/inifile.h"
#include "ini/ininotation.h"
#include "state/settingsschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace pellix;

namespace {

// The round k of the state in the file, or -1 when the keys do not agree.
int RoundOf(const TIniDocument& doc) {
    TZunCalc zun(1);
    zun.LastX = std::nan("");
    TKeptTexts kept;
    ReadSettings(doc, {zun}, ".", kept);
    const double k = zun.LastX;
    if (!(k >= 1) || k != std::floor(k) ||
        IniIntegerOf(doc.ReadString("ZunMain", "Left").value_or("")) != int(k) ||
        IniIntegerOf(doc.ReadString("ZunMain", "Top").value_or("")) != -int(k) ||
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

// Our temporary files beside the settings file.
QFileInfoList Leftovers(const QString& folder) {
    return QDir(folder).entryInfoList({QStringLiteral(".Pellix.ini.*.tmp")},
                                      QDir::Files | QDir::Hidden);
}

TEST(SettingsCrash, KilledStoresLeaveTheOldOrTheNewStateOnlyAndNoReadableFragments) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Pellix.ini"));
    // A large file, so that kills land inside the writing, readable by its owner only.
    QFile padded(file);
    ASSERT_TRUE(padded.open(QIODevice::WriteOnly));
    padded.write("[Pad]\n");
    for (int i = 0; i < 20000; ++i)
        padded.write(QByteArray("p") + QByteArray::number(i) + '=' + QByteArray(50, 'x') + '\n');
    padded.close();
    const auto ownerOnly =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(file, ownerOnly));
    // What the file system made of that (Windows keeps only "read-only").
    const auto kept = QFileInfo(file).permissions();

    int previous = 0;
    int seenStates = 0;
    int maxLeftovers = 0;
    for (int run = 0; run < 60; ++run) {
        QProcess child;
        child.start(QStringLiteral(PELLIX_STORE_LOOP), {file});
        ASSERT_TRUE(child.waitForStarted());
        ASSERT_TRUE(child.waitForReadyRead(20000)) << "the first store never ended";
        QThread::msleep(QRandomGenerator::global()->bounded(0, 30));
        child.kill(); // no chance to finish the store
        child.waitForFinished();
        const auto doc = LoadIniFile(file.toStdString());
        ASSERT_TRUE(doc);
        const int k = RoundOf(*doc);
        ASSERT_GE(k, 1) << "run " << run << ": a torn file";
        seenStates += k != previous;
        previous = k;
        EXPECT_EQ(QFileInfo(file).permissions(), kept);
        const QFileInfoList left = Leftovers(dir.path());
        maxLeftovers = std::max(maxLeftovers, static_cast<int>(left.size()));
        for (const QFileInfo& fragment : left)
            ASSERT_EQ(fragment.permissions(), kept) << "readable by others: run " << run;
    }
    EXPECT_GT(seenStates, 10) << "the child stored too rarely for the test to mean much";
    // Each store removes what killed ones left, so fragments never pile up.
    EXPECT_LE(maxLeftovers, 1);
    QProcess last;
    last.start(QStringLiteral(PELLIX_STORE_LOOP), {file, QStringLiteral("1")});
    ASSERT_TRUE(last.waitForFinished(20000));
    EXPECT_TRUE(Leftovers(dir.path()).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Pellix.ini")});
}

} // namespace
