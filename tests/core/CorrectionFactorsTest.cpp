// Thickness and slope-thickness correction factors against the published
// reference values (hand-checked) and their limits.

#include "core/ResultList.h"
#include "corrections/SlopeThicknessCorrection.h"
#include "corrections/ThicknessCorrection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace qex {
namespace {

// Reference factors are known to the six decimals the lists print.
constexpr double kPrintedTolerance = 5e-7;
constexpr double kDensityGranite = 2.75;   // g/cm3
constexpr double kFreePathGcm2 = 150.0;    // g/cm2

TEST(ThicknessCorrection, ReferenceValuesAndLimits)
{
    EXPECT_NEAR(ThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 2.0), 0.981889, kPrintedTolerance);
    EXPECT_NEAR(ThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 100.0), 0.458247, kPrintedTolerance);
    EXPECT_EQ(ThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 0.0), 1.0);
    EXPECT_EQ(ThicknessCorrectionFactor(kDensityGranite, 0.0, 2.0), 0.0);
    // No mass in the way: the limit, never "nan".
    EXPECT_EQ(ThicknessCorrectionFactor(0.0, kFreePathGcm2, 2.0), 1.0);
    EXPECT_EQ(ThicknessCorrectionFactor(0.0, 0.0, 2.0), 1.0);
    // A film far thinner than the attenuation length receives the surface production.
    EXPECT_NEAR(ThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 1e-20), 1.0, 1e-12);
}

TEST(SlopeThicknessCorrection, ReferenceValuesAndLimits)
{
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 2.0, 0.0), 0.981889, kPrintedTolerance);
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 0.0, 30.0), 0.971431, kPrintedTolerance);
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 2.0, 30.0), 0.950715, kPrintedTolerance);
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 0.0, 90.0), 0.480599, kPrintedTolerance);
    EXPECT_EQ(SlopeThicknessCorrectionFactor(kDensityGranite, 0.0, 2.0, 30.0), 0.0);
    // No mass in the way: the slope shielding alone.
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(0.0, kFreePathGcm2, 2.0, 30.0), 0.971431, kPrintedTolerance);
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(0.0, 0.0, 2.0, 30.0), 0.971431, kPrintedTolerance);
    EXPECT_NEAR(SlopeThicknessCorrectionFactor(kDensityGranite, kFreePathGcm2, 1e-20, 0.0), 1.0, 1e-12);
}

TEST(SlopeThicknessCorrection, OnAHorizontalSurfaceEqualsTheThicknessFactor)
{
    for (const double thickness : {0.5, 2.0, 37.0, 1000.0})
        for (const double density : {1.0, 2.65, 3.0})
            EXPECT_NEAR(SlopeThicknessCorrectionFactor(density, 160.0, thickness, 0.0),
                        ThicknessCorrectionFactor(density, 160.0, thickness), 1e-15)
                << thickness << " cm at " << density << " g/cm3";
}

TEST(CorrectionBlocks, ListTheInputsAndTheFactorInTheirLineFormats)
{
    CResultList list;
    AppendThicknessResult(ThicknessInputs{}, list);
    ThicknessInputs thick;
    thick.thickness = 0.0;
    AppendThicknessResult(thick, list);
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{
                                "Calculation Result 1", "Density:   2.750000", "FreePath:   150.000000",
                                "Thickness:   2.000000", "Factor:   0.981889", "Calculation Result 2",
                                "Density:   2.750000", "FreePath:   150.000000", "Thickness:   0.000000",
                                "Factor:   1.000000"}));
    EXPECT_EQ(list.Selected(), 5);

    CResultList slopeList;
    SlopeThicknessInputs slope;
    slope.slope = 30.0;
    slope.strike = 275.0; // recorded, enters no line
    AppendSlopeThicknessResult(slope, slopeList);
    EXPECT_EQ(slopeList.Lines(), (std::vector<std::string>{"Calculation Result 1", "Density:   2.750000",
                                                           "FreePath:   150.000000", "Thickness:   2.000000",
                                                           "Slope:   30.000000", "Factor:   0.950715"}));
}

} // namespace
} // namespace qex
