// What a zoomed plot shows: lines, markers and areas cut to the window of its
// axes (linear and logarithmic), and round tick steps. Expected points are
// worked out by hand from the straight segments.

#include "proxy/PlotView.h"

#include <gtest/gtest.h>

using namespace qex;

namespace {

using Line = std::vector<PlotPoint>;

void ExpectPoints(const Line& actual, const Line& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << "point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << "point " << i;
    }
}

const PlotWindow kTen{{0, 10}, {0, 10}};

} // namespace

TEST(PlotView, LinesAreCutAtTheWindowsEdgesAndSplitWhereTheyLeaveIt)
{
    const struct {
        Line line;
        PlotWindow window;
        std::vector<Line> pieces;
    } cases[] = {
        {{{-5, 5}, {5, 5}, {15, 5}}, kTen, {{{0, 5}, {5, 5}, {10, 5}}}},
        {{{2, 2}, {2, 20}, {8, 20}, {8, 2}}, kTen, {{{2, 2}, {2, 10}}, {{8, 10}, {8, 2}}}},
        {{{-10, -10}, {20, 20}}, kTen, {{{0, 0}, {10, 10}}}},
        {{{20, 20}, {30, 30}}, kTen, {}},
        // log10 x from -1 to 3 while y goes 0 to 6: the edges x = 1 and 100 are a quarter and three quarters along.
        {{{0.1, 0}, {1000, 6}}, {{1, 100}, {0, 10}, AxisScale::Log10}, {{{1, 1.5}, {100, 4.5}}}},
    };
    for (const auto& c : cases) {
        const auto pieces = ClipPolyline(c.line, c.window);
        ASSERT_EQ(pieces.size(), c.pieces.size());
        for (std::size_t i = 0; i < pieces.size(); ++i)
            ExpectPoints(pieces[i], c.pieces[i]);
    }
    ExpectPoints(PointsInWindow({{-1, 5}, {0, 0}, {5, 11}, {10, 10}}, kTen), {{0, 0}, {10, 10}});
}

TEST(PlotView, AnAreaBoundaryIsCutToTheWindowAndHeldToItsHeight)
{
    // A band from x -5 to 5 up to 20: its part in view reaches x 0 to 5 up to 10.
    ExpectPoints(ClipAreaBoundary({{-5, 0}, {-5, 20}, {5, 20}, {5, 0}, {15, 0}}, kTen),
                 {{0, 10}, {5, 10}, {5, 0}, {10, 0}});
    // A slope from (0, -10) to (10, 30) enters at y 0 a quarter along and leaves at y 10 half along.
    ExpectPoints(ClipAreaBoundary({{0, -10}, {10, 30}}, kTen), {{0, 0}, {2.5, 0}, {5, 10}, {10, 10}});
}

TEST(PlotView, TickStepsAreRound)
{
    const struct {
        double minimum, maximum, step;
    } cases[] = {{0, 800, 200}, {75.9271, 83.12, 2}, {0, 1, 0.2}, {3.2, 3.9, 0.2}, {5, 5, 1}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundTickStep(c.minimum, c.maximum), c.step) << c.minimum << " to " << c.maximum;
}
