// The York fit against York's (1966, 1968) test of Pearson's data, and the
// isochron burial age against samples of a burial forward model written here:
// inherited concentrations at the production ratio, decayed for the burial
// time, plus what muons made at depth since then.

#include "burial/IsochronAge.h"
#include "burial/YorkFit.h"
#include "proxy/MonteCarlo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace qex {
namespace {

// Pearson (1901) with York's (1966) weights 1/sigma^2: x, y, w(x), w(y).
constexpr double kPearson[][4] = {
    {0.0, 5.9, 1000, 1},  {0.9, 5.4, 1000, 1.8}, {1.8, 4.4, 500, 4}, {2.6, 4.6, 800, 8}, {3.3, 3.5, 200, 20},
    {4.4, 3.7, 80, 20},   {5.2, 2.8, 60, 70},    {6.1, 2.8, 20, 70}, {6.5, 2.4, 1.8, 100}, {7.4, 1.5, 1, 500},
};

std::vector<YorkPoint> PearsonPoints()
{
    std::vector<YorkPoint> points;
    for (const auto& r : kPearson)
        points.push_back({r[0], 1.0 / std::sqrt(r[2]), r[1], 1.0 / std::sqrt(r[3]), 0.0});
    return points;
}

TEST(YorkFit, ReproducesPearsonsDataWithYorksWeights)
{
    // York et al. (2004), section IV: a = 5.4799 +- 0.2950, b = -0.4805 +- 0.0580.
    YorkLine line;
    std::string error;
    ASSERT_TRUE(FitYorkLine(PearsonPoints(), line, error)) << error;
    EXPECT_NEAR(line.slope, -0.4805, 5e-5);
    EXPECT_NEAR(line.intercept, 5.4799, 5e-5);
    EXPECT_NEAR(line.slopeError, 0.0580, 5e-5);
    EXPECT_NEAR(line.interceptError, 0.2950, 5e-5);
    EXPECT_NEAR(line.mswd, line.chiSquare / 8.0, 1e-12);
}

TEST(YorkFit, WeighsBothCoordinatesAndTheirCorrelation)
{
    // With x all but exact, the fit is the weighted least squares of y on x:
    // b = (S Sxy - Sx Sy) / (S Sxx - Sx^2), weights 1/sigma_y^2.
    std::vector<YorkPoint> points = PearsonPoints();
    double S = 0, Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    for (YorkPoint& p : points) {
        p.sigmaX = 1e-9;
        const double w = 1.0 / (p.sigmaY * p.sigmaY);
        S += w, Sx += w * p.x, Sy += w * p.y, Sxx += w * p.x * p.x, Sxy += w * p.x * p.y;
    }
    const double b = (S * Sxy - Sx * Sy) / (S * Sxx - Sx * Sx);
    YorkLine line;
    std::string error;
    ASSERT_TRUE(FitYorkLine(points, line, error)) << error;
    EXPECT_NEAR(line.slope, b, 1e-9);
    EXPECT_NEAR(line.intercept, (Sy - b * Sx) / S, 1e-9);
    EXPECT_NEAR(line.slopeError, std::sqrt(S / (S * Sxx - Sx * Sx)), 1e-9);

    // Every point with the same errors sx, sy and correlation r: the fit
    // minimises sum (V - b U)^2 / (sy^2 - 2 b r sx sy + b^2 sx^2) about the
    // centroid, whose stationary slopes solve
    // (sx^2 Sxy - c Sxx) b^2 + (Sxx sy^2 - Syy sx^2) b + (c Syy - sy^2 Sxy) = 0, c = r sx sy.
    const double sx = 0.3, sy = 0.5, r = 0.6, c = r * sx * sy;
    std::vector<YorkPoint> same = PearsonPoints();
    double mx = 0, my = 0;
    for (YorkPoint& p : same) {
        p.sigmaX = sx, p.sigmaY = sy, p.correlation = r;
        mx += p.x / same.size(), my += p.y / same.size();
    }
    double Ux = 0, Uy = 0, Uxy = 0;
    for (const YorkPoint& p : same)
        Ux += (p.x - mx) * (p.x - mx), Uy += (p.y - my) * (p.y - my), Uxy += (p.x - mx) * (p.y - my);
    const double qa = sx * sx * Uxy - c * Ux, qb = Ux * sy * sy - Uy * sx * sx, qc = c * Uy - sy * sy * Uxy;
    const double root1 = (-qb + std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
    const double root2 = (-qb - std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
    auto misfit = [&](double slope) {
        return (Uy - 2 * slope * Uxy + slope * slope * Ux) / (sy * sy - 2 * slope * c + slope * slope * sx * sx);
    };
    const double best = misfit(root1) < misfit(root2) ? root1 : root2;
    YorkLine correlated;
    ASSERT_TRUE(FitYorkLine(same, correlated, error)) << error;
    EXPECT_NEAR(correlated.slope, best, 1e-9);
    EXPECT_NEAR(correlated.intercept, my - best * mx, 1e-9);
}

TEST(YorkFit, RefusesWhatHasNoLine)
{
    const struct {
        const char* what;
        std::vector<YorkPoint> points;
        const char* says;
    } cases[] = {
        {"two points", {{1, 0.1, 1, 0.1, 0}, {2, 0.1, 2, 0.1, 0}}, "at least 3 samples"},
        {"an error of 0", {{1, 0.1, 1, 0.1, 0}, {2, 0, 2, 0.1, 0}, {3, 0.1, 3, 0.1, 0}}, "sample 2"},
        {"a correlation of 1", {{1, 0.1, 1, 0.1, 0}, {2, 0.1, 2, 0.1, 0}, {3, 0.1, 3, 0.1, 1}}, "correlation"},
        {"one x", {{1, 0.1, 1, 0.1, 0}, {1, 0.1, 2, 0.1, 0}, {1, 0.1, 3, 0.1, 0}}, "same x"},
    };
    for (const auto& c : cases) {
        YorkLine line;
        std::string error;
        EXPECT_FALSE(FitYorkLine(c.points, line, error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    }
}

// The forward model: six samples with inheritance at the production ratio,
// buried `years` ago below enough rock that muons alone produce.
constexpr double kT10 = 1387000.0, kT26 = 705000.0; // yr
constexpr double kR0 = 6.75;
const double kL10 = std::log(2.0) / kT10, kL26 = std::log(2.0) / kT26;
constexpr double kInherited10[] = {40000, 90000, 150000, 240000, 380000, 600000}; // atoms/g at burial
// The samples lie at different depths: muons make less below.
constexpr double kDepthFactor[] = {0.5, 0.65, 0.8, 1.0, 1.3, 1.6};

std::vector<IsochronSample> Horizon(double years, double postBurial10, double postBurial26, const double offsets[6])
{
    std::vector<IsochronSample> samples;
    for (int i = 0; i < 6; ++i) {
        const double p10 = postBurial10 * kDepthFactor[i], p26 = postBurial26 * kDepthFactor[i];
        const double n10 = kInherited10[i] * std::exp(-kL10 * years) + p10 / kL10 * (1 - std::exp(-kL10 * years));
        const double n26 = kR0 * kInherited10[i] * std::exp(-kL26 * years) + p26 / kL26 * (1 - std::exp(-kL26 * years));
        const double e10 = 0.03 * n10, e26 = 0.05 * n26;
        samples.push_back({n10 + offsets[i] * e10, e10, n26 - offsets[i] * e26, e26, p10, p26});
    }
    return samples;
}

TEST(IsochronAge, DatesTheForwardModelsHorizon)
{
    const IsochronSettings settings{kR0, 0.1, {kT10, kT26}};
    constexpr double kNone[6] = {0, 0, 0, 0, 0, 0};
    constexpr double kScatter[6] = {1, -1, 0.5, -0.5, 1, -1}; // in sigmas, 10Be up where 26Al is down
    const struct {
        const char* what;
        double years, p10, p26;
        const double* offsets;
        bool exact; // the age within 1e-6 of the truth; else within its 1 sigma
    } cases[] = {
        {"measured exactly", 1.5e6, 0, 0, kNone, true},
        {"with scatter", 1.5e6, 0, 0, kScatter, false},
        {"with post-burial production", 2.2e6, 0.08, 0.08 * 8.3, kNone, true},
        {"with post-burial production and scatter", 2.2e6, 0.08, 0.08 * 8.3, kScatter, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const IsochronSolution s = SolveIsochron(Horizon(c.years, c.p10, c.p26, c.offsets), settings);
        ASSERT_EQ(s.outcome, IsochronOutcome::Age) << s.failure;
        if (c.exact)
            EXPECT_NEAR(s.age, c.years, 1e-6 * c.years);
        else
            EXPECT_LT(std::fabs(s.age - c.years), s.ageErrorScaled);
        EXPECT_EQ(s.refits > 0, c.p10 > 0) << "refits only with post-burial production";
        // sigma_t = sqrt((sigma_b/b)^2 + (sigma_R0/R0)^2) / (l26 - l10).
        EXPECT_NEAR(s.ageError, std::hypot(s.line.slopeError / s.line.slope, 0.1 / kR0) / (kL26 - kL10), 1e-6 * s.age);
    }
    // Left uncorrected, the muons' atoms make the horizon look younger.
    std::vector<IsochronSample> uncorrected = Horizon(2.2e6, 0.08, 0.08 * 8.3, kNone);
    for (IsochronSample& x : uncorrected)
        x.be10PostBurialProduction = x.al26PostBurialProduction = 0.0;
    EXPECT_LT(SolveIsochron(uncorrected, settings).age, 2.2e6 * 0.97);
}

TEST(IsochronAge, SaysWhyASlopeHasNoAge)
{
    // Half the production ratio is one 10Be half-life... of the ratio: t = T10 T26 / (T10 - T26).
    EXPECT_NEAR(IsochronBurialAge(kR0 / 2, kR0, {kT10, kT26}), kT10 * kT26 / (kT10 - kT26), 1e-6);
    const IsochronSettings settings{kR0, 0.0, {kT10, kT26}};
    auto line = [](double slope) {
        std::vector<IsochronSample> s;
        for (double x : {1e5, 2e5, 3e5})
            s.push_back({x, 0.03 * x, 1e5 + slope * x, 0.05 * (1e5 + std::fabs(slope) * x), 0, 0});
        return s;
    };
    const struct {
        const char* what;
        std::vector<IsochronSample> samples;
        IsochronOutcome outcome;
    } cases[] = {
        {"slope above R0", line(7.5), IsochronOutcome::NotBuried},
        {"falling slope", line(-0.2), IsochronOutcome::NoRatio},
        {"two samples", {line(3)[0], line(3)[1]}, IsochronOutcome::NoFit},
    };
    for (const auto& c : cases) {
        const IsochronSolution s = SolveIsochron(c.samples, settings);
        EXPECT_EQ(s.outcome, c.outcome) << c.what;
        EXPECT_FALSE(s.failure.empty()) << c.what;
    }
}

TEST(IsochronAge, DrawsAreTheSameOnAnyThreadAndNoneIsDropped)
{
    constexpr double kNone[6] = {0, 0, 0, 0, 0, 0};
    const DeviateSource normal = [](std::uint64_t d, int n) { return MonteCarloNormalDeviates(42, d, n); };
    // 20 kyr: the slope so near R0 that some draws reach above it.
    for (const double years : {1.5e6, 2e4}) {
        SCOPED_TRACE(years);
        const std::vector<IsochronSample> horizon = Horizon(years, 0, 0, kNone);
        const IsochronSettings settings{kR0, 0.15, {kT10, kT26}};
        IsochronDraws one, two;
        ASSERT_TRUE(DrawIsochronAges(horizon, settings, 400, normal, one, 1));
        ASSERT_TRUE(DrawIsochronAges(horizon, settings, 400, normal, two, 2));
        EXPECT_EQ(one.ages, two.ages);
        EXPECT_EQ(static_cast<int>(one.ages.size()) + one.notBuried + one.noFit, 400);
        if (years > 1e6) {
            const DistributionSummary s = SummariseDraws(one.ages);
            const IsochronSolution solution = SolveIsochron(horizon, settings);
            EXPECT_NEAR(s.median, years, 0.3 * solution.ageError);
            EXPECT_NEAR(s.p84 - s.p16, 2 * solution.ageError, 0.3 * solution.ageError);
        } else {
            EXPECT_GT(one.notBuried, 0);
        }
    }
}

} // namespace
} // namespace qex
