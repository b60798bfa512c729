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

TEST(PlotView, LogAxisTicksArePowersOfTenAndAZoomKeepsTwo)
{
    // Whole decades where two or more lie inside; otherwise 1, 2 and 5 times them, or every digit, where
    // three fall inside; then round steps with the decimals they need.
    const struct {
        double minimum, maximum;
        std::vector<std::string> labels;
    } cases[] = {
        {1e4, 1e7, {"10\u2074", "10\u2075", "10\u2076", "10\u2077"}},
        {2e5, 3e6, {"2\u00d710\u2075", "5\u00d710\u2075", "10\u2076", "2\u00d710\u2076"}},
        {1.1e6, 4e6, {"2\u00d710\u2076", "3\u00d710\u2076", "4\u00d710\u2076"}},
        {1.1e6, 1.3e6, {"1.10\u00d710\u2076", "1.15\u00d710\u2076", "1.20\u00d710\u2076", "1.25\u00d710\u2076",
                        "1.30\u00d710\u2076"}},
        {1e-3, 1e-1, {"10\u207b\u00b3", "10\u207b\u00b2", "10\u207b\u00b9"}},
        // 9 x 10^5 and 10^6 alone would leave the right half bare.
        {8.3e5, 1.9e6, {"10\u2076", "1.2\u00d710\u2076", "1.4\u00d710\u2076", "1.6\u00d710\u2076",
                        "1.8\u00d710\u2076"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> labels;
        for (const LogTick& tick : LogAxisTicks(c.minimum, c.maximum)) {
            EXPECT_GE(tick.value, c.minimum * (1 - 1e-9));
            EXPECT_LE(tick.value, c.maximum * (1 + 1e-9));
            labels.push_back(tick.label);
        }
        EXPECT_EQ(labels, c.labels) << c.minimum << " to " << c.maximum;
    }
    // Thirty decades keep about eight labels.
    EXPECT_LE(LogAxisTicks(1, 1e30).size(), 9u);
}
