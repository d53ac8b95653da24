// The face as the user sees it: rendered images of the real window and its
// annunciators at several zooms, and the window's place and size restored
// from any settings file.

#include "base/rounding.h"
#include "imagediff.h"
#include "shell/facelook.h"
#include "shell/facepainter.h"
#include "shell/zunmain.h"
#include "tests/common/shellenvironment.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>

using namespace pellix;

namespace {

class Face : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // The window started with a settings file of the given lines.
    void Start(const QByteArray& settings = {}) {
        if (!settings.isEmpty()) {
            QFile f(IniPath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[ZunMain]\n" + settings);
        }
        w = std::make_unique<TZunMain>(pellix::testing::TestEnvironment(dir.path()));
        w->show();
    }

    QString IniPath() const { return dir.filePath(QStringLiteral("pellix.ini")); }

    void Wheel(int notches) {
        const QPointF pos(20, 20);
        for (int i = 0; i < std::abs(notches); ++i) {
            QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, notches > 0 ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w.get(), &e);
        }
    }

    void Click(const char* name) {
        THotSpot* s = w->HotSpot(name);
        ASSERT_NE(s, nullptr) << name;
        QTest::mouseClick(s, Qt::LeftButton, {}, s->rect().center());
    }

    QImage Shot() const {
        return w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    bool Fits() const {
        const QSize area = w->screen()->availableGeometry().size();
        return w->width() <= area.width() && w->height() <= area.height();
    }

    QTemporaryDir dir;
    std::unique_ptr<TZunMain> w;
};

// The pixels a key's cap covers in the window, found by painting the cap
// alone: the painter's own ink, not a rectangle from the key table.
QRect CapInk(const KeyLook& key, QSize client) {
    QImage ink(client, QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    QPainter p(&ink);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setTransform(FaceTransform(client));
    PaintKeyCap(p, key);
    p.end();
    QRect box;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (qAlpha(ink.pixel(x, y)) != 0) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Rows of the face moved up by how many pixels make `pressed` inside `box`,
// or 0 when no shift of 1 to 4 pixels does.
int ShiftInside(const QImage& pressed, const QImage& released, const QRect& box) {
    for (int shift = 1; shift <= 4; ++shift) {
        bool same = true;
        for (int y = box.top(); same && y <= box.bottom() && y + shift < released.height(); ++y) {
            for (int x = box.left(); same && x <= box.right(); ++x) {
                same = pressed.pixel(x, y) == released.pixel(x, y + shift);
            }
        }
        if (same) {
            return shift;
        }
    }
    return 0;
}

class PressedLook : public Face, public ::testing::WithParamInterface<int> {};

TEST_P(PressedLook, EveryKeyShowsItsWholeCapMovedUp) {
    Start();
    Wheel(GetParam());
    for (const FaceKey& key : FaceKeys) {
        SCOPED_TRACE(std::string(key.Control));
        THotSpot* spot = w->HotSpot(std::string(key.Control).c_str());
        ASSERT_NE(spot, nullptr);
        const QImage released = Shot();
        QTest::mousePress(spot, Qt::LeftButton, {}, spot->rect().center());
        const QImage pressed = Shot();
        QTest::mouseRelease(spot, Qt::LeftButton, {}, QPoint(-4, 0)); // keys nothing
        EXPECT_EQ(Shot(), released) << "the release restores the face";

        const QRect cap = CapInk(LookOf(key), w->ClientSize());
        EXPECT_NE(ShiftInside(pressed, released, cap), 0) << "columns left unpressed";
        const QRect changed = ChangedArea(pressed, released);
        // Nothing farther from the cap than its antialiasing fringe changes.
        EXPECT_TRUE(cap.adjusted(-2, -2, 2, 2).contains(changed))
            << "beyond the cap " << changed.x() << ',' << changed.y() << ' ' << changed.width()
            << 'x' << changed.height();
    }
}

// Notches of the wheel from zoom 1.0: 0.56, 0.91, 1.0, 1.21.
INSTANTIATE_TEST_SUITE_P(Zooms, PressedLook, ::testing::Values(-6, -1, 0, 2));

TEST_F(Face, AnnunciatorsShowTheirWholeTextAtEveryZoom) {
    Start();
    Wheel(-14); // the smallest zoom
    const std::vector<std::vector<const char*>> shows = {
        {"imF"}, {"imG"}, {"imG", "im8"}, {"imG", "im9"}}; // f, g, RAD, GRAD
    for (int step = 0; step < 20; ++step) {
        SCOPED_TRACE(w->TotalScale());
        for (const auto& keys : shows) {
            for (const char* k : keys) {
                Click(k);
            }
            for (const char* name : {"lbF", "lbG", "lbTrig"}) {
                const TFaceLabel* label = w->Label(name);
                const QString text = label->text();
                if (text.isEmpty()) {
                    continue;
                }
                const QFontMetrics fm(label->font());
                const QRect room = label->contentsRect();
                EXPECT_GE(room.width(), fm.horizontalAdvance(text)) << text.toStdString();
                EXPECT_GE(room.right(), fm.boundingRect(text).right()) << text.toStdString();
                EXPECT_GE(room.height(), fm.height()) << text.toStdString();
            }
            for (const auto& [label, key] : {std::pair{"lbF", "imF"}, std::pair{"lbG", "imG"}}) {
                if (!w->Label(label)->text().isEmpty()) {
                    Click(key); // the prefix off again
                }
            }
        }
        Wheel(1);
    }
    EXPECT_EQ(w->Label("lbTrig")->text(), QStringLiteral("GRAD"));
}

TEST_F(Face, ThirteenNotchesDownAndUpGiveBackTheSameWindowPixelForPixel) {
    Start();
    for (const char* key : {"imG", "im8", "imF"}) { // RAD, and f lit
        Click(key);
    }
    const QSize size = w->size();
    const QImage before = Shot();
    Wheel(-13);
    Wheel(13);
    EXPECT_EQ(w->size(), size);
    EXPECT_EQ(w->Label("lbTrig")->FontPoints(), 8);
    EXPECT_TRUE(Shot() == before) << "the face differs after the round trip";
}

struct StoredPlace {
    const char* Settings;
    bool Kept; // the stored position is used as it is
};

void PrintTo(const StoredPlace& p, std::ostream* os) {
    *os << QByteArray(p.Settings).replace('\n', ' ').constData();
}

class RestoredPlace : public Face, public ::testing::WithParamInterface<StoredPlace> {};

TEST_P(RestoredPlace, OnlyAPositionWithTheWindowWholeOnAScreenIsKept) {
    Start(GetParam().Settings);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QByteArray place =
        "Left=" + QByteArray::number(w->x()) + "\nTop=" + QByteArray::number(w->y()) + '\n';
    EXPECT_EQ(QByteArray(GetParam().Settings).startsWith(place), GetParam().Kept) << place.data();
    EXPECT_TRUE(screen.contains(w->geometry())) << "whole on the screen";
    EXPECT_TRUE(Fits());
    w->Settings().StoreSettings();
    QFile f(IniPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("\nLeft=" + QByteArray::number(w->pos().x()) + '\n')) << text.data();
}

const StoredPlace kPlaces[] = {
    {"Left=2147483647\nTop=2147483647\n", false},
    {"Left=-2147483648\nTop=-2147483648\n", false},
    {"Left=2147483647\nTop=0\nTotalScale=19.9\n", false},
    {"Left=-2147483000\nTop=100\nTotalScale=19.9\n", false},
    {"Left=-640\nTop=-403\n", false}, // one pixel on the screen: brought whole onto it
    {"Left=10\nTop=20\nTotalScale=19.9\n", true},
};

INSTANTIATE_TEST_SUITE_P(Extremes, RestoredPlace, ::testing::ValuesIn(kPlaces));

TEST_F(Face, StoredZoomTooLargeForTheScreenTakesTheLargestStepThatFits) {
    for (const char* zoom : {"19.9", "10", "4.5"}) { // 12756, 6410, 2885 pixels wide
        Start(QByteArray("TotalScale=") + zoom + '\n');
        const double steps = std::log(w->TotalScale()) / std::log(1.1);
        EXPECT_NEAR(steps, std::round(steps), 1e-9) << zoom << ": a zoom step";
        EXPECT_TRUE(Fits()) << zoom;
        const QSize area = w->screen()->availableGeometry().size();
        const QSize next(RoundEven(w->width() * 1.1), RoundEven(w->height() * 1.1));
        EXPECT_TRUE(next.width() > area.width() || next.height() > area.height())
            << zoom << ": the next step would still fit";
        w.reset();
    }
}

TEST_F(Face, ZoomStepsNeverTakeTheWindowBeyondItsScreen) {
    Start("TotalScale=1.3\n");
    for (int notch : {1, -1, 1, 1, 1, -3, 5}) {
        Wheel(notch);
        EXPECT_TRUE(Fits()) << w->width() << 'x' << w->height();
    }
    const QSize largest = w->ClientSize();
    Wheel(1);
    EXPECT_EQ(w->ClientSize(), largest) << "refused, not just clipped";
    Wheel(-1);
    EXPECT_LT(w->ClientSize().width(), largest.width());
}

} // namespace
