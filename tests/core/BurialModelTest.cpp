// The burial model and a sample's place on the two-nuclide diagram against
// values derived by hand. The half-lives are chosen so that the decay
// constants are round (5e-7 and 1e-6 per year), density 2.5 g/cm3 and
// attenuation 125 g/cm2 so that 1e-4 cm/yr of erosion removes 2e-6 per year.

#include "burial/BurialModel.h"
#include "burial/TwoNuclidePoint.h"

#include <gtest/gtest.h>
#include <cmath>

namespace qex {
namespace {

constexpr double kRelative = 1e-12;

BurialSource RoundSource()
{
    BurialSource s;
    s.be10Production = 5.0;
    s.al26Production = 30.0;
    s.density = 2.5;
    s.freePath = 125.0;
    s.halfLives = {kLn2 / 5e-7, kLn2 / 1e-6};
    return s;
}

TEST(BurialModel, ConcentrationsMatchHandDerivedHistories)
{
    struct Case {
        const char* history;
        bool steadyErosion;
        double erosionOrExposure; // cm/yr, or yr
        double burial;            // yr
        double be10, al26;        // atoms/g, by hand
    } cases[] = {
        // 5 / (5e-7 + 2e-6) = 2e6; 30 / (1e-6 + 2e-6) = 1e7
        {"steady erosion", true, 1e-4, 0.0, 2.0e6, 1.0e7},
        // times e^-0.5 = 0.60653065971 and e^-1 = 0.36787944117
        {"steady erosion, 1 Myr buried", true, 1e-4, 1.0e6, 1213061.3194, 3678794.4117},
        // saturation: 5 / 5e-7 and 30 / 1e-6, then 2 Myr: e^-1 and e^-2 = 0.13533528324
        {"saturation, 2 Myr buried", true, 0.0, 2.0e6, 3678794.4117, 4060058.4971},
        // 1e7 (1 - e^-0.5) = 3934693.4029; 3e7 (1 - e^-1) = 18963616.765
        {"1 Myr exposure", false, 1.0e6, 0.0, 3934693.4029, 18963616.765},
        // then 1 Myr of burial
        {"1 Myr exposure, 1 Myr buried", false, 1.0e6, 1.0e6, 2386512.1854, 6976324.7380},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.history);
        const NuclideConcentrations n = c.steadyErosion
                                            ? SteadyErosionThenBurial(RoundSource(), c.erosionOrExposure, c.burial)
                                            : ExposureThenBurial(RoundSource(), c.erosionOrExposure, c.burial);
        EXPECT_NEAR(n.be10, c.be10, c.be10 * 1e-10);
        EXPECT_NEAR(n.al26, c.al26, c.al26 * 1e-10);
    }
}

TEST(TwoNuclidePoint, CovarianceIsTheLinearPropagationOfBothMeasurements)
{
    // N10 = 1e5 +/- 3e3 (3 %), N26 = 4e5 +/- 3.2e4 (8 %), P10 = 4, P26 = 27.
    // Normalised: x = 1e5/4 = 25000, y = 4 * 4/27 = 0.592592...;
    // var x = (3e3/4)^2 = 562500; cov = -x y 0.03^2 = -13.3333...;
    // var y = y^2 (0.03^2 + 0.08^2) = 0.35116598 * 0.0073 = 0.0025635117.
    // Raw: x = 1e5, y = 4; var x = 9e6, cov = -1e5 * 4 * 9e-4 = -360,
    // var y = 16 * 0.0073 = 0.1168.
    const MeasuredPair sample{1e5, 3e3, 4e5, 3.2e4, 4.0, 27.0};
    struct Case {
        bool normalized;
        double x, y, vx, cxy, vy;
    } cases[] = {
        {true, 25000.0, 16.0 / 27.0, 562500.0, -40.0 / 3.0, 256.0 / 729.0 * 0.0073},
        {false, 1e5, 4.0, 9e6, -360.0, 0.1168},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.normalized ? "normalised" : "raw");
        const DiagramPosition p = PlaceOnDiagram(sample, c.normalized);
        EXPECT_NEAR(p.x, c.x, std::fabs(c.x) * kRelative);
        EXPECT_NEAR(p.y, c.y, std::fabs(c.y) * kRelative);
        EXPECT_NEAR(p.varianceX, c.vx, std::fabs(c.vx) * kRelative);
        EXPECT_NEAR(p.covarianceXY, c.cxy, std::fabs(c.cxy) * kRelative);
        EXPECT_NEAR(p.varianceY, c.vy, std::fabs(c.vy) * kRelative);
    }
}

TEST(TwoNuclidePoint, EllipseScaleHoldsItsProbability)
{
    // A bivariate normal puts 1 - e^(-k^2/2) inside the ellipse of scale k:
    // 68 % needs k^2 = -2 ln 0.32 = 2.2788685, k = 1.5095922; 1 sigma holds 39.35 %.
    EXPECT_NEAR(EllipseScale(0.68), 1.5095922, 1e-7);
    EXPECT_NEAR(EllipseScale(1.0 - std::exp(-0.5)), 1.0, 1e-12);
}

} // namespace
} // namespace qex
