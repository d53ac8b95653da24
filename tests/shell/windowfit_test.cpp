#include "shell/windowfit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>

using namespace pellix;

namespace {

struct OverlapCase {
    QPoint TopLeft;
    QSize Size;
    bool Expected;
};

void PrintTo(const OverlapCase& c, std::ostream* os) {
    *os << c.TopLeft.x() << ',' << c.TopLeft.y() << ' ' << c.Size.width() << 'x' << c.Size.height();
}

class WindowOverlap : public ::testing::TestWithParam<OverlapCase> {};

TEST_P(WindowOverlap, AnyIntPositionIsJudgedWithoutOverflow) {
    const OverlapCase& c = GetParam();
    EXPECT_EQ(Overlaps(c.TopLeft, c.Size, QRect(0, 0, 1600, 1000)), c.Expected);
}

const OverlapCase kOverlaps[] = {
    {{427, 196}, {641, 404}, true},
    {{-640, -403}, {641, 404}, true}, // one pixel in the corner
    {{-641, 0}, {641, 404}, false},
    {{1600, 0}, {641, 404}, false},
    {{INT_MAX, INT_MAX}, {641, 404}, false},
    {{INT_MAX - 100, 0}, {12756, 8040}, false},
    {{INT_MIN, INT_MIN}, {641, 404}, false},
    {{INT_MIN, 0}, {INT_MAX, 404}, false},
    {{0, INT_MIN}, {641, INT_MAX}, false},
    {{0, 0}, {0, 404}, false},
};

INSTANTIATE_TEST_SUITE_P(Extremes, WindowOverlap, ::testing::ValuesIn(kOverlaps));

struct ZoomCase {
    double Stored;
    QSize Available;
    int ExpectedStep; // the result is 1.1 to this power; 99: the stored zoom itself
};

void PrintTo(const ZoomCase& c, std::ostream* os) {
    *os << c.Stored << " on " << c.Available.width() << 'x' << c.Available.height();
}

class ZoomFit : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomFit, TooLargeAZoomTakesTheLargestStepThatFits) {
    const ZoomCase& c = GetParam();
    const double z = FittingZoom(c.Stored, c.Available, 1.1, 0.3);
    const double expected = c.ExpectedStep == 99 ? c.Stored : std::pow(1.1, c.ExpectedStep);
    EXPECT_DOUBLE_EQ(z, expected);
    if (c.ExpectedStep != 99 && z > 0.3) {
        EXPECT_TRUE(FitsIn(ZoomedClientSize(z), c.Available));
        EXPECT_FALSE(FitsIn(ZoomedClientSize(z * 1.1), c.Available)) << "not the largest";
    }
}

const ZoomCase kZooms[] = {
    {19.9, {1600, 1000}, 9}, // 1511 x 953
    {2.5937424601, {1600, 1000}, 9}, {2.357947691, {1600, 1000}, 99},
    {1.5, {1600, 1000}, 99},                                // off the step grid, but it fits
    {19.9, {2000, 700}, 5},                                 // the height decides: 1032 x 651
    {1.8, {2000, 700}, 5},           {1.25, {800, 600}, 2}, // 801 wide does not fit 800
    {1.0, {641, 404}, 99},                                  // an exact fit
    {1.0, {640, 404}, -1},           {1.0, {100, 60}, -13}, // nothing fits: the smallest step
    {0.2, {200, 100}, 99}, // below the smallest step, and it fits: kept
};

INSTANTIATE_TEST_SUITE_P(Screens, ZoomFit, ::testing::ValuesIn(kZooms));

// Screens of 1024 x 768 (a panel over its 40 lowest rows) and, when there,
// of 800 x 600 on its right; a window of 641 x 404.
struct WholeCase {
    QPoint Stored;
    bool SecondScreen;
    QPoint Shown;
};

class ShownWholeOnScreens : public ::testing::TestWithParam<WholeCase> {};

TEST_P(ShownWholeOnScreens, KeepsAWholeWindowAndBringsAPartOneWholeOntoItsScreen) {
    std::vector<TScreenArea> screens = {{{0, 0, 1024, 768}, {0, 0, 1024, 728}}};
    if (GetParam().SecondScreen) {
        screens.push_back({{1024, 0, 800, 600}, {1024, 0, 800, 600}});
    }
    EXPECT_EQ(ShownWhole(GetParam().Stored, {641, 404}, screens), GetParam().Shown);
}

const WholeCase kWholeCases[] = {
    {{1100, 150}, true, {1100, 150}},    // on the second screen
    {{700, 100}, true, {700, 100}},      // across both
    {{1000, 100}, false, {383, 100}},    // mostly on the gone screen
    {{1100, 300}, true, {1100, 196}},    // below the second screen's end
    {{-5, 700}, false, {0, 324}},        // over the panel, off the left edge
    {{INT_MIN, 0}, false, {INT_MIN, 0}}, // on no screen: left to the caller
};

INSTANTIATE_TEST_SUITE_P(TwoScreens, ShownWholeOnScreens, ::testing::ValuesIn(kWholeCases));

} // namespace
