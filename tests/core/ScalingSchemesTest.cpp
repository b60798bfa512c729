// The scaling schemes and pressure models against their published reference
// values and hand-calculated table entries, and the scaling dialog's block.

#include "scaling/ScalingFactorBlock.h"
#include "scaling/ScalingSchemes.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

// Reference values are given to five decimals: half a unit in the fifth.
constexpr double kFiveDecimals = 5e-6;
// Pressures are given to three decimals.
constexpr double kPressureTolHpa = 5e-4;
// Results that differ only by rounding of the same operations.
constexpr double kRounding = 1e-12;

TEST(PressureModels, MatchTheirSeaLevelValuesAndScaleHeights)
{
    EXPECT_DOUBLE_EQ(StandardAtmospherePressure(0.0), 1013.25);
    EXPECT_NEAR(StandardAtmospherePressure(1000.0), 898.724, kPressureTolHpa);
    EXPECT_DOUBLE_EQ(AntarcticPressure(0.0), 989.1);
    // One scale height (7588 m) up: 989.1 / e.
    EXPECT_NEAR(AntarcticPressure(7588.0), 363.86956, kPressureTolHpa);
}

TEST(Stone2000, ReferenceValues)
{
    EXPECT_NEAR(StoneScalingFactor(60.0, 1013.25, 0.0), 1.00213, kFiveDecimals);
    EXPECT_NEAR(StoneScalingFactor(0.0, 1013.25, 0.0), 0.58727, kFiveDecimals);
    EXPECT_NEAR(StoneScalingFactor(45.0, StandardAtmospherePressure(1000.0), 0.026), 2.32219, kFiveDecimals);
}

TEST(Stone2000, AllMuonsAtSeaLevelGiveTheMuonFactorOfTheLatitude)
{
    // f = 1 leaves only M * exp(0): the table's M column, interpolated.
    EXPECT_DOUBLE_EQ(StoneScalingFactor(60.0, 1013.25, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(StoneScalingFactor(0.0, 1013.25, 1.0), 0.587);
    EXPECT_NEAR(StoneScalingFactor(35.0, 1013.25, 1.0), 0.883, kRounding);
    EXPECT_NEAR(StoneScalingFactor(-35.0, 1013.25, 1.0), 0.883, kRounding);
    // f = 0 is the spallation part alone: the published sea-level values above.
    const double p = StandardAtmospherePressure(2500.0);
    const double spallation = StoneScalingFactor(40.0, p, 0.0);
    const double muons = StoneScalingFactor(40.0, p, 1.0);
    EXPECT_GT(spallation, muons);
    EXPECT_NEAR(StoneScalingFactor(40.0, p, 0.3), 0.7 * spallation + 0.3 * muons, kRounding);
}

TEST(Lal1991, ReferenceValues)
{
    EXPECT_DOUBLE_EQ(LalBeScalingFactor(60.0, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(LalAlScalingFactor(60.0, 0.0), 1.0);
    EXPECT_NEAR(LalBeScalingFactor(0.0, 0.0), 0.58575, kFiveDecimals);
    EXPECT_NEAR(LalBeScalingFactor(60.0, 1000.0), 2.40713, kFiveDecimals);
    EXPECT_NEAR(LalAlScalingFactor(60.0, 1000.0), 2.38924, kFiveDecimals);
    // Sea level is k0 / k0(60): 21.47 / 36.67 at the equator, and at 55 degrees
    // the mean of the 50 and 60 degree rows, (6.064 + 5.994) / 2 / 5.994.
    EXPECT_NEAR(LalAlScalingFactor(0.0, 0.0), 0.58549223, 1e-8);
    EXPECT_NEAR(LalBeScalingFactor(55.0, 0.0), 1.00583917, 1e-8);
}

TEST(Dunai2000, ReferenceValues)
{
    EXPECT_NEAR(DunaiScalingFactor(60.0, 0.0, 0.0), 0.99078, kFiveDecimals);
    EXPECT_NEAR(DunaiScalingFactor(0.0, 0.0, 0.0), 0.55839, kFiveDecimals);
    EXPECT_NEAR(DunaiScalingFactor(60.0, 1000.0, 0.026), 2.41788, kFiveDecimals);
    // At the pole the inclination is 90 degrees: N(90) = 0.5555 + 0.445 / (1 + e^-6.5468)^0.335.
    EXPECT_NEAR(DunaiScalingFactor(90.0, 0.0, 0.0), 1.00028632, 1e-8);
    // At sea level there is no atmosphere to attenuate through: muons or not, N(I).
    EXPECT_NEAR(DunaiScalingFactor(60.0, 0.0, 1.0), DunaiScalingFactor(60.0, 0.0, 0.0), kRounding);
    // Above sea level muons attenuate more slowly (247 g/cm^2) than nucleons.
    EXPECT_LT(DunaiScalingFactor(30.0, 3000.0, 1.0), DunaiScalingFactor(30.0, 3000.0, 0.0));
}

TEST(Schemes, SouthernLatitudesMirrorNorthernOnes)
{
    const double p = StandardAtmospherePressure(1800.0);
    for (const double latitude : {5.0, 45.0, 60.0, 72.5, 90.0}) {
        SCOPED_TRACE(latitude);
        EXPECT_EQ(StoneScalingFactor(-latitude, p, 0.026), StoneScalingFactor(latitude, p, 0.026));
        EXPECT_EQ(LalBeScalingFactor(-latitude, 1800.0), LalBeScalingFactor(latitude, 1800.0));
        EXPECT_EQ(LalAlScalingFactor(-latitude, 1800.0), LalAlScalingFactor(latitude, 1800.0));
        EXPECT_EQ(DunaiScalingFactor(-latitude, 1800.0, 0.026), DunaiScalingFactor(latitude, 1800.0, 0.026));
    }
}

TEST(Schemes, SixtyDegreesAndAboveShareTheSixtyDegreeRow)
{
    const double p = StandardAtmospherePressure(3000.0);
    for (const double latitude : {75.0, 90.0}) {
        SCOPED_TRACE(latitude);
        EXPECT_EQ(StoneScalingFactor(latitude, p, 0.026), StoneScalingFactor(60.0, p, 0.026));
        EXPECT_EQ(LalBeScalingFactor(latitude, 3000.0), LalBeScalingFactor(60.0, 3000.0));
        EXPECT_EQ(LalAlScalingFactor(latitude, 3000.0), LalAlScalingFactor(60.0, 3000.0));
    }
    // Just below 60 the 50-60 row pair is still used, and meets the 60 row.
    EXPECT_NEAR(LalBeScalingFactor(59.999999, 3000.0), LalBeScalingFactor(60.0, 3000.0), 1e-6);
}

TEST(Schemes, BetweenRowsTheFactorIsLinearInLatitude)
{
    // Every factor is linear in its coefficients, so halfway between two rows
    // it is the mean of the two rows' factors.
    const double p = StandardAtmospherePressure(1200.0);
    EXPECT_NEAR(StoneScalingFactor(55.0, p, 0.026),
                (StoneScalingFactor(50.0, p, 0.026) + StoneScalingFactor(60.0, p, 0.026)) / 2.0, kRounding);
    EXPECT_NEAR(LalAlScalingFactor(15.0, 1200.0), (LalAlScalingFactor(10.0, 1200.0) + LalAlScalingFactor(20.0, 1200.0)) / 2.0,
                kRounding);
}

TEST(AttenuationLength, BandsAndTheirBoundaries)
{
    EXPECT_EQ(AttenuationLengthForLatitude(29.9), 170.0);
    EXPECT_EQ(AttenuationLengthForLatitude(-29.9), 170.0);
    EXPECT_EQ(AttenuationLengthForLatitude(30.0), 160.0);
    EXPECT_EQ(AttenuationLengthForLatitude(60.0), 160.0);
    EXPECT_EQ(AttenuationLengthForLatitude(-60.0), 160.0);
    EXPECT_EQ(AttenuationLengthForLatitude(60.1), 150.0);
    EXPECT_EQ(AttenuationLengthForLatitude(-75.0), 150.0);
}

TEST(ScalingFactorBlock, DefaultSiteGivesThePublishedBlock)
{
    CResultList list;
    AppendScalingFactorResults(ScalingSite{}, list);
    const std::vector<std::string> expected = {
        "Calculation Result 1",         "Latitude:   60.000000",  "Altitude:   0.000000",
        "Muon contribution:   0.026000", "Stone 2000:   1.002078", "Lal 1991 Be:   1.000000",
        "Lal 1991 Al:   1.000000",      "Dunai 2000:   0.990776",
    };
    EXPECT_EQ(list.Lines(), expected);
    EXPECT_EQ(list.m_nLineCount, 8);
    EXPECT_EQ(list.m_nResultCount, 1);
    EXPECT_EQ(list.Selected(), 0);
}

TEST(ScalingFactorBlock, SecondSiteAndTheMuonContribution)
{
    CResultList list;
    AppendScalingFactorResults({35.0, 1500.0, 0.026}, list);
    AppendScalingFactorResults({35.0, 1500.0, 0.0}, list);
    const std::vector<std::string> first(list.Lines().begin(), list.Lines().begin() + 8);
    const std::vector<std::string> expected = {
        "Calculation Result 1",         "Latitude:   35.000000",  "Altitude:   1500.000000",
        "Muon contribution:   0.026000", "Stone 2000:   2.848175", "Lal 1991 Be:   2.702531",
        "Lal 1991 Al:   2.681141",      "Dunai 2000:   2.635942",
    };
    EXPECT_EQ(first, expected);
    // The second block: its own heading, selected; the Lal lines ignore the muons.
    ASSERT_EQ(list.Lines().size(), 16u);
    EXPECT_EQ(list.Lines()[8], "Calculation Result 2");
    EXPECT_EQ(list.Selected(), 8);
    EXPECT_EQ(list.Lines()[11], "Muon contribution:   0.000000");
    EXPECT_NE(list.Lines()[12], list.Lines()[4]);
    EXPECT_EQ(list.Lines()[13], list.Lines()[5]);
    EXPECT_EQ(list.Lines()[14], list.Lines()[6]);
}

} // namespace
} // namespace qex
