// The burial age inverted against a forward model written here from Lal
// (1991) and Granger & Muzikar (2001), the published Shanshu Cave sample,
// the reasons a sample has no age, the linear propagation against the
// Jacobian derived by implicit differentiation, and the Monte Carlo's
// independence of the thread count.

#include "burial/BurialAge.h"
#include "burial/BurialAgeCalculator.h"
#include "burial/MuonProduction.h"
#include "core/ResultList.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qex {
namespace {

BurialSource Source(double p10, double p26, double density, double freePath, double t10, double t26)
{
    return {p10, p26, density, freePath, {t10, t26}};
}

// The forward model of the test: the source's steady state (Lal 1991 eq. 6)
// or exposure, decayed for t, plus production after burial built up for t.
NuclideConcentrations Forward(const BurialSource& s, bool exposure, double parameter, double t,
                              const PostBurialProduction& pb)
{
    const double l[2] = {std::log(2.0) / s.halfLives.be10, std::log(2.0) / s.halfLives.al26};
    const double p[2] = {s.be10Production, s.al26Production};
    const double after[2] = {pb.be10, pb.al26};
    double n[2];
    for (int i = 0; i < 2; ++i) {
        const double source = exposure ? p[i] / l[i] * (1.0 - std::exp(-l[i] * parameter))
                                       : p[i] / (l[i] + s.density * parameter / s.freePath);
        n[i] = std::exp(-l[i] * t) * source + after[i] / l[i] * (1.0 - std::exp(-l[i] * t));
    }
    return {n[0], n[1]};
}

TEST(BurialAge, TenForwardSamplesComeBack)
{
    const BurialSource today = Source(4.0, 27.0, 2.65, 160.0, 1.387e6, 0.705e6);
    const BurialSource original = Source(11.65, 76.85, 2.6, 150.0, 1.5e6, 0.71e6);
    struct Case {
        BurialSource source;
        bool exposure;
        double parameter; // cm/yr or yr
        double burial;    // yr
        PostBurialProduction pb;
    } cases[] = {
        {today, false, 1e-4, 0.3e6, {}},
        {today, false, 5e-4, 1.2e6, {}},
        {today, false, 2e-5, 3.5e6, {}},
        {original, false, 3.7e-3, 0.05e6, {}},
        {today, false, 1e-3, 2.0e6, {0.02, 0.17}},
        {original, false, 2e-4, 1.0e6, {0.05, 0.40}},
        {today, true, 50e3, 0.8e6, {}},
        {today, true, 300e3, 2.5e6, {}},
        {original, true, 20e3, 1.5e6, {0.01, 0.09}},
        {today, true, 1.0e6, 0.4e6, {0.03, 0.25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.exposure ? "exposure " : "erosion ") << c.parameter << ", burial "
                                        << c.burial << ", post-burial " << c.pb.be10);
        const NuclideConcentrations n = Forward(c.source, c.exposure, c.parameter, c.burial, c.pb);
        const BurialSourceKind kind = c.exposure ? BurialSourceKind::Exposure : BurialSourceKind::SteadyErosion;
        const BurialSolution s = SolveBurial(c.source, kind, n, c.pb);
        ASSERT_EQ(s.outcome, BurialOutcome::Solved);
        EXPECT_NEAR(s.burialYears, c.burial, 1e-6 * c.burial);
        EXPECT_NEAR(c.exposure ? s.exposureYears : s.erosion, c.parameter, 1e-6 * c.parameter);
    }
}

TEST(BurialAge, ShanshuCaveSampleMatchesThePublishedAge)
{
    // Liu et al. (2022): SSC, 1.176 Myr (1 sigma 1.012-1.350), source erosion near 37 m/Myr.
    BurialAgeInputs in;
    in.be10HalfLife = 1.387e6;
    in.al26HalfLife = 0.705e6;
    in.be10Standard = "NIST_27900";
    in.al26Standard = "Z92-0222";
    in.monteCarloDraws = 20000;
    in.seed = 1;
    CResultList list;
    COutputBlocks blocks;
    ASSERT_TRUE(AppendBurialAge(in, list, &blocks));
    const auto value = [&](std::string_view name) {
        for (const OutputValue& v : blocks.Values())
            if (v.name == name && v.present)
                return v.numbers.at(0);
        return std::nan("");
    };
    EXPECT_NEAR(value("burial_age_myr"), 1.18, 0.02);
    EXPECT_NEAR(value("burial_age_err_myr"), 0.17, 0.01);
    EXPECT_NEAR(value("source_erosion_m_per_myr"), 37.0, 2.0);
    EXPECT_NEAR(value("mc_burial_age_myr_median"), 1.176, 0.02);
    EXPECT_NEAR(value("mc_burial_age_myr_p16"), 1.012, 0.02);
    EXPECT_NEAR(value("mc_burial_age_myr_p84"), 1.350, 0.02);
}

TEST(BurialAge, SamplesWithoutAnAgeSayWhy)
{
    const BurialSource s = Source(4.0, 27.0, 2.65, 160.0, 1.387e6, 0.705e6);
    const NuclideConcentrations surface = Forward(s, false, 1e-4, 0.0, {});
    struct Case {
        const char* what;
        NuclideConcentrations n;
        BurialOutcome outcome;
    } cases[] = {
        {"on the steady-erosion line, ratio under 6.75", {surface.be10, surface.al26 * 1.01}, BurialOutcome::NoBurial},
        {"ratio above the production ratio", {1e5, 7.0e5}, BurialOutcome::AboveProductionRatio},
        {"10Be above saturation", {1.1 * 4.0 * 1.387e6 / std::log(2.0), 1e6}, BurialOutcome::AboveSaturation},
        {"ratio below any burial of a saturated source", {2e6, 1e3}, BurialOutcome::BelowSaturatedBurial},
        {"no 26Al", {1e5, 0.0}, BurialOutcome::Unusable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SolveBurial(s, BurialSourceKind::SteadyErosion, c.n).outcome, c.outcome);
    }
}

TEST(BurialAge, LinearUncertaintyIsTheImplicitJacobian)
{
    // ln N_i = -lambda_i t + ln P_i - ln(lambda_i + k), k = rho eps / Lambda:
    // d ln N = M (dt, dk) with M = [[-l10, -a10], [-l26, -a26]], a_i = 1 / (lambda_i + k).
    const BurialSource s = Source(4.0, 27.0, 2.65, 160.0, 1.387e6, 0.705e6);
    const double t = 1.5e6, eps = 3e-4;
    const NuclideConcentrations n = Forward(s, false, eps, t, {});
    const NuclideConcentrations e{0.03 * n.be10, 0.06 * n.al26};
    const double l10 = std::log(2.0) / 1.387e6, l26 = std::log(2.0) / 0.705e6, k = 2.65 * eps / 160.0;
    const double a10 = 1.0 / (l10 + k), a26 = 1.0 / (l26 + k);
    const double det = l10 * a26 - a10 * l26;
    const double dl10 = e.be10 / n.be10, dl26 = e.al26 / n.al26;
    const double sigmaT = std::hypot(a26 * dl10, a10 * dl26) / std::fabs(det);
    const double sigmaEps = std::hypot(l26 * dl10, l10 * dl26) / std::fabs(det) * 160.0 / 2.65;
    const BurialUncertainty u = PropagateBurialUncertainty(s, BurialSourceKind::SteadyErosion, n, e);
    ASSERT_TRUE(u.ok);
    EXPECT_NEAR(u.burialYears, sigmaT, 1e-5 * sigmaT);
    EXPECT_NEAR(u.sourceParameter, sigmaEps, 1e-5 * sigmaEps);
}

TEST(BurialAge, MonteCarloIsTheSameOnAnyThreadsAndCountsEveryDraw)
{
    // Close to the steady-erosion line, so that some draws need no burial.
    const BurialSource s = Source(4.0, 27.0, 2.65, 160.0, 1.387e6, 0.705e6);
    const NuclideConcentrations n = Forward(s, false, 2e-4, 0.1e6, {});
    const NuclideConcentrations e{0.03 * n.be10, 0.05 * n.al26};
    BurialMonteCarloBlock one, two;
    ASSERT_TRUE(RunBurialMonteCarlo(s, BurialSourceKind::SteadyErosion, n, e, {}, 3000, 42, one, 1));
    ASSERT_TRUE(RunBurialMonteCarlo(s, BurialSourceKind::SteadyErosion, n, e, {}, 3000, 42, two, 2));
    EXPECT_EQ(one.burial.median, two.burial.median);
    EXPECT_EQ(one.erosion.p97_5, two.erosion.p97_5);
    EXPECT_EQ(one.noBurialPercent, two.noBurialPercent);
    EXPECT_GT(one.noBurialPercent, 1.0);
    EXPECT_NEAR(one.solvedPercent + one.noBurialPercent + one.aboveRatioPercent + one.otherPercent, 100.0, 1e-9);
}

TEST(MuonProduction, SurfaceAndDeepLimitsAreThePublishedRates)
{
    // At the surface all production; far below, the fast muons alone, as Braucher et al. (2011) give them at
    // the total production they were stated against.
    EXPECT_DOUBLE_EQ(ProductionAtDepth(kBe10, 7.0, 0.0, 160.0), 7.0);
    EXPECT_NEAR(ProductionAtDepth(kBe10, 4.5, 40000.0, 160.0) * std::exp(40000.0 / 4320.0), 0.039, 1e-6);
    EXPECT_NEAR(ProductionAtDepth(kAl26, 30.375, 40000.0, 160.0) * std::exp(40000.0 / 4320.0), 0.081, 1e-6);
}

} // namespace
} // namespace qex
