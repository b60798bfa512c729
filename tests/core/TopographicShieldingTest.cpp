// Topographic shielding of a sample site: reference factors (hand-checked:
// a flat skyline at angle B gives 1 - sin(B)^3.3), the wrap across north, the
// slope's own horizon, and points given out of order or out of range.

#include "core/ResultList.h"
#include "geomag/SampleSite.h"
#include "corrections/ShieldingResult.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

namespace qex {
namespace {

constexpr double kPrintedTolerance = 5e-7;  // factors known to six decimals
constexpr double kAngleTolerance = 1e-9;    // degrees

CSampleSite Site(const std::vector<std::pair<double, double>>& points, double dip = 0.0, double strike = 0.0)
{
    CSampleSite site;
    site.horizonCount = static_cast<int>(points.size());
    for (const auto& [azimuth, angle] : points) {
        site.azimuths.push_back(azimuth);
        site.angles.push_back(angle);
    }
    site.dip = dip;
    site.strike = strike;
    return site;
}

TEST(SampleSite, ConstructionDefaults)
{
    const CSampleSite site;
    EXPECT_EQ(site.density, 2.75);
    EXPECT_EQ(site.horizonCount, 0);
    EXPECT_TRUE(site.azimuths.empty());
    EXPECT_TRUE(site.angles.empty());
    EXPECT_EQ(site.dip, 0.0);
    EXPECT_EQ(site.thickness, 2.0);
}

TEST(TopographicShielding, ReferenceSkylines)
{
    CSampleSite open = Site({});
    EXPECT_EQ(open.TopographicShielding(), 1.0);

    CSampleSite single = Site({{100, 30}});
    EXPECT_NEAR(single.TopographicShielding(), 0.898468, kPrintedTolerance); // 1 - 0.5^3.3
    for (double bin : single.horizon)
        ASSERT_NEAR(bin, 30.0, kAngleTolerance);

    CSampleSite four = Site({{45, 20}, {135, 20}, {225, 20}, {315, 20}});
    EXPECT_NEAR(four.TopographicShielding(), 0.971002, kPrintedTolerance);
    CSampleSite two = Site({{90, 20}, {270, 20}});
    EXPECT_NEAR(two.TopographicShielding(), 0.971002, kPrintedTolerance);

    CSampleSite slopeOnly = Site({}, 30.0, 0.0);
    EXPECT_NEAR(slopeOnly.TopographicShielding(), 0.977434, kPrintedTolerance);

    CSampleSite wall = Site({{200, 90}});
    EXPECT_NEAR(wall.TopographicShielding(), 0.0, 1e-12);
}

TEST(TopographicShielding, InterpolatesBetweenPointsAndAcrossNorth)
{
    // The wrap value at 360: 10 + (30 - 10) * 160 / 260.
    const double wrap = 10.0 + 20.0 * 160.0 / 260.0;
    CSampleSite site = Site({{100, 30}, {200, 10}});
    site.TopographicShielding();
    EXPECT_NEAR(site.horizon[0], wrap, kAngleTolerance);
    EXPECT_NEAR(site.horizon[50], wrap + (30.0 - wrap) * 50.0 / 100.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[100], 30.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[150], 20.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[200], 10.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[280], 10.0 + (wrap - 10.0) * 80.0 / 160.0, kAngleTolerance);
}

TEST(TopographicShielding, PointsAtZeroAndAtFullTurnNeedNoWrap)
{
    CSampleSite site = Site({{0, 10}, {360, 40}});
    const double factor = site.TopographicShielding();
    EXPECT_TRUE(std::isfinite(factor));
    EXPECT_NEAR(site.horizon[0], 10.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[180], 25.0, kAngleTolerance);
    EXPECT_NEAR(site.horizon[359], 10.0 + 30.0 * 359.0 / 360.0, kAngleTolerance);
}

TEST(TopographicShielding, TheSlopeCountsWhereTheSkylineIsLower)
{
    // Dip 30 towards azimuth strike - 90 = 270; the surface falls away towards 90.
    CSampleSite low = Site({{100, 10}}, 30.0, 0.0);
    low.TopographicShielding();
    EXPECT_NEAR(low.horizon[270], 30.0, kAngleTolerance);
    EXPECT_NEAR(low.horizon[90], 10.0, kAngleTolerance);
    EXPECT_NEAR(low.horizon[0], 10.0, kAngleTolerance); // slope horizon there is 0

    CSampleSite flat = Site({{100, 0}}, 30.0, 0.0);
    EXPECT_NEAR(flat.TopographicShielding(), 0.977434, kPrintedTolerance);
    CSampleSite high = Site({{100, 30}}, 30.0, 0.0);
    EXPECT_NEAR(high.TopographicShielding(), 0.898468, kPrintedTolerance);
}

TEST(TopographicShielding, UnsortedPointsGiveTheSortedAnswerAndStayAsGiven)
{
    CSampleSite sorted = Site({{20, 40}, {150, 25}, {300, 10}});
    CSampleSite unsorted = Site({{300, 10}, {20, 40}, {150, 25}});
    EXPECT_DOUBLE_EQ(unsorted.TopographicShielding(), sorted.TopographicShielding());
    EXPECT_EQ(unsorted.horizon, sorted.horizon);
    EXPECT_EQ(unsorted.azimuths, (std::vector<double>{300, 20, 150}));
    EXPECT_EQ(unsorted.angles, (std::vector<double>{10, 40, 25}));

    CSampleSite reversed = Site({{200, 10}, {100, 30}});
    reversed.TopographicShielding();
    EXPECT_NEAR(reversed.horizon[150], 20.0, kAngleTolerance);
    EXPECT_NEAR(reversed.horizon[0], 10.0 + 20.0 * 160.0 / 260.0, kAngleTolerance);
}

TEST(TopographicShielding, OutOfRangePointsAreClippedAndNothingLeavesItsBounds)
{
    CSampleSite above = Site({{400, 120}});
    EXPECT_NEAR(above.TopographicShielding(), 0.0, 1e-12); // (360, 90): a wall all round
    CSampleSite below = Site({{-20, 30}});
    EXPECT_NEAR(below.TopographicShielding(), 0.898468, kPrintedTolerance);
    CSampleSite notANumber = Site({{std::nan(""), std::nan("")}, {100, 30}});
    EXPECT_TRUE(std::isfinite(notANumber.TopographicShielding()));

    // Bin 10 stands for 10 degrees, before the first point at 10.75: it takes
    // the point's angle instead of running the steep line back past it.
    CSampleSite steep = Site({{10.75, 90}, {11, 0}});
    const double factor = steep.TopographicShielding();
    EXPECT_NEAR(steep.horizon[10], 90.0, kAngleTolerance);
    EXPECT_TRUE(factor >= 0.0 && factor <= 1.0) << factor;
    for (double bin : steep.horizon)
        ASSERT_TRUE(bin >= 0.0 && bin <= 90.0) << bin;
}

TEST(TopographicShielding, ACountBeyondThePointsIsAnIndexError)
{
    CSampleSite site = Site({{100, 30}});
    site.horizonCount = 2;
    EXPECT_THROW(site.TopographicShielding(), std::out_of_range);
}

TEST(ShieldingBlock, ListsTheFactorUnderTheHeading)
{
    CResultList list;
    AppendShieldingResult(ShieldingInputs{}, list);
    ShieldingInputs one;
    one.points = {{100, 30}};
    AppendShieldingResult(one, list);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Calculation Result 1", "Shielding Factor:  1.000000",
                                                      "Calculation Result 2", "Shielding Factor:  0.898468"}));
    EXPECT_EQ(list.Selected(), 2);
}

} // namespace
} // namespace qex
