// Exposure ages: the nuclide record, the choice of scaling, the constant
// production age and the age with production following the past field.

#include "core/Message.h"
#include "geomag/SampleSite.h"
#include "geomag/ExposureAge.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace qex {
namespace {

using test::TempDir;
using test::WriteFile;

constexpr double kAgeTolerance = 0.05;       // years: the reference ages are given to 0.1 year
constexpr double kProductionTolerance = 5e-4; // atoms/g/yr: given to 0.001

TEST(Nuclide, InitFillsHalfLifeDecayAndProduction)
{
    CNuclide be;
    be.concentration = 5;
    be.Init(kBe10);
    EXPECT_NEAR(be.decayConstant, 4.6209812e-07, 5e-15);
    EXPECT_EQ(be.muonFraction, 0.02200000000000002); // the result of 1 - 0.978, not 0.022
    EXPECT_EQ(be.productionRate, 5.1);
    EXPECT_EQ(be.productionRateError, 0.3);
    EXPECT_EQ(be.concentration, 0.0);
    CNuclide al;
    al.Init(kAl26);
    EXPECT_NEAR(al.decayConstant, 9.7626363e-07, 5e-15);
    EXPECT_EQ(al.muonFraction, 0.026000000000000023);
    EXPECT_EQ(al.productionRate, 31.1);
    CNuclide c14;
    c14.Init(kC14);
    EXPECT_NEAR(c14.decayConstant, std::log(2.0) / 5730.0, 1e-18);
}

TEST(NuclideScalingFactor, TheAntarcticAtmosphereHoldsOnlySouthOfMinus60)
{
    CSampleSite site;
    site.altitude = 0.0;
    CNuclide be;
    be.Init(kBe10);
    const double f = be.muonFraction;
    // At sea level the Antarctic pressure is 989.1 hPa, the standard one 1013.25.
    EXPECT_EQ(site.NuclideScalingFactor(&be, -60.0, kStone2000), StoneScalingFactor(-60.0, 1013.25, f));
    EXPECT_EQ(site.NuclideScalingFactor(&be, -60.5, kStone2000), StoneScalingFactor(-60.5, 989.1, f));
    EXPECT_EQ(site.NuclideScalingFactor(&be, -70.0, kStone2000), StoneScalingFactor(-70.0, 989.1, f));
    EXPECT_NE(StoneScalingFactor(-70.0, 989.1, f), StoneScalingFactor(-70.0, 1013.25, f));
    EXPECT_EQ(site.NuclideScalingFactor(&be, 75.0, kStone2000), StoneScalingFactor(75.0, 1013.25, f));
    EXPECT_EQ(site.NuclideScalingFactor(&be, 60.0, kLal1991), 1.0);
    site.altitude = 1000.0;
    EXPECT_NEAR(site.NuclideScalingFactor(&be, 60.0, kLal1991), 2.40713, 5e-6);
    CNuclide al;
    al.Init(kAl26);
    EXPECT_NEAR(site.NuclideScalingFactor(&al, 60.0, kLal1991), 2.38924, 5e-6);
    EXPECT_NEAR(site.NuclideScalingFactor(&al, 60.0, kDunai2000), DunaiScalingFactor(60.0, 1000.0, al.muonFraction), 0);
}

TEST(NuclideScalingFactor, NoRecordOrAnUnscalableNuclideGivesOneWithAMessage)
{
    CSampleSite site;
    CNuclide chlorine;
    chlorine.Init(kCl36);
    chlorine.muonFraction = 0.1;
    CMessageRecorder messages;
    EXPECT_EQ(site.NuclideScalingFactor(nullptr, 45.0, kStone2000), 1.0);
    EXPECT_EQ(site.NuclideScalingFactor(&chlorine, 45.0, kLal1991), 1.0);
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"No Cosmogenic nuclide information!",
                                                             "Can not calculate the scaling factors for this nuclides!"}));
    EXPECT_EQ(site.NuclideScalingFactor(&chlorine, 45.0, kStone2000),
              StoneScalingFactor(45.0, StandardAtmospherePressure(site.altitude), 0.1));
}

TEST(ExposureAge, ClosedFormReferenceAges)
{
    double age = 0.0;
    double error = 0.0;
    ExposureAgeWithErosion(1500000, 51000, 1000, 160, 2.75, 0, 5.1, 0.3, age, error);
    EXPECT_NEAR(age, 10023.18, 0.005);
    EXPECT_NEAR(error, 622.93, 0.005);
    ExposureAgeWithErosion(1500000, 51000, 1000, 160, 2.65, 0.001, 5.1, 0.3, age, error);
    EXPECT_NEAR(age, 10962.14, 0.005);
}

TEST(ExposureAge, ThicknessFactorOfTheSite)
{
    CSampleSite site;
    site.density = 2.75;
    site.thickness = 2.0;
    EXPECT_NEAR(site.ThicknessFactor(160), 0.98300776, 5e-9);
    site.thickness = 0.0;
    EXPECT_EQ(site.ThicknessFactor(160), 1.0);
}

TEST(ExposureAge, ProductionRateAppliesScalingThicknessAndShielding)
{
    CSampleSite site;
    site.thickness = 0.0;
    CNuclide be;
    be.Init(kBe10);
    // Default exposure-age site: 5.1 x Stone(34.33375, 1013.25, 1 - 0.978), about 4.469.
    const ResultPair open = site.ProductionRate(&be, 34.33375, kStone2000);
    EXPECT_NEAR(open.first, 4.469, kProductionTolerance);
    EXPECT_NEAR(open.second / open.first, 0.3 / 5.1, 1e-15);
    site.horizonCount = 1;
    site.azimuths = {100};
    site.angles = {30};
    EXPECT_NEAR(site.ProductionRate(&be, 34.33375, kStone2000).first / open.first, 1 - std::pow(0.5, 3.3), 1e-12);
    CMessageRecorder messages;
    EXPECT_EQ(site.ProductionRate(nullptr, 0, kStone2000), kNoResult);
    EXPECT_EQ(site.ConstantExposureAge(nullptr, 0), kNoResult);
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"No cosmogenic Informations!", "No cosmogenic information!"}));
}

TEST(ExposureAge, EffectiveLatitudeOfAWeakAndAStrongField)
{
    EXPECT_NEAR(EffectiveLatitude(0.75, 0), 21.47, 0.005);
    EXPECT_NEAR(EffectiveLatitude(0.5, 0), 32.77, 0.005);
    EXPECT_NEAR(EffectiveLatitude(1.0, -40), 40, 1e-12);
    EXPECT_EQ(EffectiveLatitude(1.33, 10), 0.0); // a field stronger than today's near the equator
}

// The worked site: latitude 0, sea level, no thickness, no horizon; pole data
// at 0, 500, ..., 3000 years with the pole at the geographic pole; the field
// at full strength for 1000 years, then at half.
class GeomagneticAgeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site.latitude = 0;
        site.longitude = 0;
        site.altitude = 0;
        site.thickness = 0;
        nuclide.Init(kBe10);
        nuclide.productionRate = 5.1;
        nuclide.productionRateError = 0.3;
        nuclide.concentration = 6000;
        nuclide.concentrationError = 100;
        WriteFile(dir.File("pole.dat"), "Geomagnetic_Pole_Data\nPoles\n0 90 0\n500 90 0\n1000 90 0\n1500 90 0\n"
                                        "2000 90 0\n2500 90 0\n3000 90 0\n");
        WriteFile(dir.File("int.dat"), "Geomagnetic_Intensity_Data\nStack\n0 1\n500 1\n1000 1\n1500 0.5\n"
                                       "2000 0.5\n2500 0.5\n3000 0.5\n");
    }

    ResultPair Age(double erosion, int* tests)
    {
        CGeomagneticPoleData poles(dir.File("pole.dat"));
        CGeomagneticIntensityData intensities(dir.File("int.dat"));
        return site.GeomagneticExposureAge(&poles, &intensities, &nuclide, erosion, tests);
    }

    TempDir dir;
    CSampleSite site;
    CNuclide nuclide;
};

TEST_F(GeomagneticAgeTest, ProductionAtTheWorkedEffectiveLatitudes)
{
    CSampleSite& s = site;
    EXPECT_NEAR(s.ProductionRate(&nuclide, 0, kStone2000).first, 2.995, kProductionTolerance);
    EXPECT_NEAR(s.ProductionRate(&nuclide, EffectiveLatitude(0.75, 0), kStone2000).first, 3.569, kProductionTolerance);
    EXPECT_NEAR(s.ProductionRate(&nuclide, EffectiveLatitude(0.5, 0), kStone2000).first, 4.384, kProductionTolerance);
}

TEST_F(GeomagneticAgeTest, AWeakerPastFieldMakesTheSampleYounger)
{
    EXPECT_NEAR(site.ConstantExposureAge(&nuclide, 0).first, 2004.2, kAgeTolerance);
    int tests = 0;
    const ResultPair age = Age(0.0, &tests);
    EXPECT_NEAR(age.first, 1779.0, kAgeTolerance);
    EXPECT_EQ(age.second, -1.0);
    EXPECT_EQ(tests, 3);
}

TEST_F(GeomagneticAgeTest, ErosionMakesTheSampleOlder)
{
    EXPECT_NEAR(site.ConstantExposureAge(&nuclide, 0.001).first, 2037.4, kAgeTolerance);
    int tests = 0;
    EXPECT_NEAR(Age(0.001, &tests).first, 1801.1, kAgeTolerance);
    EXPECT_EQ(tests, 4);
}

TEST_F(GeomagneticAgeTest, BeyondTheRecordsTheMeanFieldAtTheMeanLatitudeHolds)
{
    nuclide.concentration = 20000;
    EXPECT_NEAR(site.ConstantExposureAge(&nuclide, 0).first, 6688.0, kAgeTolerance);
    // Mean intensity 5/7 at the mean effective latitude, about 18.72 degrees.
    const double meanLatitude = (3 * 0.0 + 4 * EffectiveLatitude(0.5, 0)) / 7;
    EXPECT_NEAR(meanLatitude, 18.72, 0.005);
    EXPECT_NEAR(Age(0.0, nullptr).first, 5068.3, kAgeTolerance);
}

TEST_F(GeomagneticAgeTest, TodaysFieldThroughoutGivesTheConstantProductionAge)
{
    site.latitude = 34.33375;
    site.longitude = 77.35;
    WriteFile(dir.File("int.dat"), "Geomagnetic_Intensity_Data\nStack\n0 1\n500 1\n1000 1\n1500 1\n2000 1\n2500 1\n"
                                   "3000 1\n");
    int tests = 0;
    const ResultPair age = Age(0.0, &tests);
    EXPECT_NEAR(age.first, site.ConstantExposureAge(&nuclide, 0).first, 1e-6);
    EXPECT_EQ(tests, 1);
}

TEST_F(GeomagneticAgeTest, DataItCannotUseAreRefusedWithAMessage)
{
    CMessageRecorder messages;
    auto refused = [&](const std::string& poles, const std::string& intensities) {
        WriteFile(dir.File("pole.dat"), "Geomagnetic_Pole_Data\nPoles\n" + poles);
        WriteFile(dir.File("int.dat"), "Geomagnetic_Intensity_Data\nStack\n" + intensities);
        messages.Clear();
        const ResultPair age = Age(0.0, nullptr);
        return age == kNoResult && messages.Messages().size() == 1;
    };
    EXPECT_TRUE(refused("0 90 0\n", "0 1\n500 1\n"));                         // one pole record
    EXPECT_TRUE(refused("0 90 0\n500 90 0\n1000 90 0\n", "0 1\n500 1\n"));     // fewer intensities
    EXPECT_TRUE(refused("100 90 0\n500 90 0\n", "100 1\n500 1\n"));           // not from age 0
    // Pole records 1000 years apart: the intensity reader puts a midpoint at
    // 500 years, and the records fall out of step.
    EXPECT_TRUE(refused("0 90 0\n1000 90 0\n2000 90 0\n", "0 1\n1000 1\n2000 1\n"));
    EXPECT_NE(messages.Messages()[0].find("out of step"), std::string::npos);

    messages.Clear();
    CGeomagneticPoleData poles(dir.File("pole.dat"));
    CGeomagneticIntensityData intensities(dir.File("int.dat"));
    EXPECT_EQ(site.GeomagneticExposureAge(&poles, &intensities, nullptr, 0), kNoResult);
    EXPECT_EQ(site.GeomagneticExposureAge(&poles, nullptr, &nuclide, 0), kNoResult);
    EXPECT_EQ(site.GeomagneticExposureAge(nullptr, &intensities, &nuclide, 0), kNoResult);
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"No cosmogenic information!",
                                                             "No Geomagnetic Intensity Information!",
                                                             "No Geomagnetic Pole Information!"}));
}

TEST_F(GeomagneticAgeTest, ASaturatedConcentrationEndsWithAMessage)
{
    nuclide.concentration = 1e9; // beyond what 3 atoms/g/yr can sustain against decay
    CMessageRecorder messages;
    EXPECT_EQ(Age(0.0, nullptr), kNoResult);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("no exposure age"), std::string::npos);
}

TEST_F(GeomagneticAgeTest, TheScratchTableListsEveryRecordButTheLast)
{
    const CGeomagneticIntensityData intensities(dir.File("int.dat"));
    site.WriteIntensityTable(dir.File("omr.txt"), &intensities, &nuclide, kStone2000);
    const std::string table = test::ReadFile(dir.File("omr.txt"));
    const std::string header = "Year\tIntensity\t0\t5\t10\t15\t20\t25\t30\t35\t40\t45\t50\t55\t60\n";
    ASSERT_EQ(table.substr(0, header.size()), header);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 6);
    // Today's field: every cell is 1; at half strength the equator acts like 32.77 degrees.
    EXPECT_EQ(table.substr(header.size(), 33), "       0.0\t       1.0\t      1.00\t");
    const std::size_t halfRow = table.find("    1500.0\t       0.5\t");
    ASSERT_NE(halfRow, std::string::npos);
    EXPECT_EQ(table.substr(halfRow + 22, 10), "      1.46"); // 4.384 / 2.995
}

} // namespace
} // namespace qex
