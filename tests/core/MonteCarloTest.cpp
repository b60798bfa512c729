// The Monte Carlo of the simulation: draws without spread repeat the central
// run, the median of a symmetric case sits at the centre, the bytes do not
// depend on the thread count, and the percentiles of drawn normal deviates
// are those of the normal distribution.

#include "core/Message.h"
#include "proxy/MonteCarlo.h"
#include "proxy/SimulationCalculation.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace qex {
namespace {

using namespace test;

SimulationCurve Alternating()
{
    SimulationCurve curve;
    std::string message;
    EXPECT_TRUE(LoadSimulationCurveText(AlternatingCurveText(), curve, message));
    return curve;
}

MonteCarloSample DefaultSample()
{
    MonteCarloSample s;
    s.be10 = test::kBe10;
    s.al26 = test::kAl26;
    s.be10Production = kBe10Production;
    s.al26Production = kAl26Production;
    s.density = kDensity;
    s.freePath = kFreePath;
    return s;
}

TEST(MonteCarlo, WithoutUncertaintiesEveryDrawIsTheCentralRun)
{
    TempDir dir;
    const std::string curvePath = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    double exposure = 0, burial = 0, total = 0, difference = 0, cut = 0, ratio = 0;
    std::vector<double> ages;
    int crossings = 0;
    ASSERT_EQ(SimulateBurialExposure(curvePath, dir.File("r.txt"), test::kBe10, kBe10Production, test::kAl26, kAl26Production,
                                     kDensity, kFreePath, 0.0, 0.0, exposure, burial, total, difference, cut, ages,
                                     crossings, ratio),
              1);
    MonteCarloResult result;
    ASSERT_TRUE(RunMonteCarlo(Alternating(), DefaultSample(), 20, 5, result, 2));
    ASSERT_EQ(result.succeeded, 20);
    for (const MonteCarloDraw& d : result.samples) {
        EXPECT_EQ(d.be10, test::kBe10);
        EXPECT_EQ(d.cutValue, cut);
        EXPECT_EQ(d.exposure, exposure);
        EXPECT_EQ(d.burial, burial);
        EXPECT_EQ(d.total, total);
        EXPECT_EQ(d.ratioDifference, difference);
    }
    EXPECT_EQ(result.summary[kMcTotal].p2_5, total);
    EXPECT_EQ(result.summary[kMcTotal].p97_5, total);
}

TEST(MonteCarlo, TheMedianOfASymmetricCaseIsTheCentralValue)
{
    // Only the 10Be drawn, with a 1 % spread: the exposure is then a smooth,
    // increasing function of it, so the median exposure of the draws is the
    // exposure of the median draw, the central run's, within the median's
    // standard error of 1.2533 sd / sqrt(n). The ratio (5.49) lies well
    // inside those the curve's histories reach, so all but the rarest draws
    // (10Be some 4 sd high needs more burial than the curve holds) match.
    MonteCarloSample s = DefaultSample();
    s.al26 = 6.4e6;
    MonteCarloResult central;
    ASSERT_TRUE(RunMonteCarlo(Alternating(), s, 1, 1, central, 1));
    s.be10Error = 0.01 * test::kBe10;
    MonteCarloResult result;
    const int n = 2000;
    ASSERT_TRUE(RunMonteCarlo(Alternating(), s, n, 11, result, 2));
    ASSERT_GE(result.matched, n - n / 100);
    const MonteCarloSummary& exposure = result.summary[kMcExposure];
    EXPECT_NEAR(exposure.median, central.samples[0].exposure, 4.0 * 1.2533 * exposure.sd / std::sqrt(n));
    EXPECT_GT(exposure.sd, 0.0);
}

// The shares add up to all draws, the statistics hold matched draws alone,
// and the Warning line shows exactly when fewer than 95 % matched: a sample
// that matches; one whose aerial erosion (1 cm/kyr) keeps every history's
// 10Be below the measured value; one whose ratio (4.98) needs more burial
// than the curve holds, so its best history only reaches the oldest exposure;
// and one whose ratio lies above the production ratio (failed, not dropped).
TEST(MonteCarlo, TheSharesSayWhatTheDrawsDid)
{
    struct Case {
        double al26;   // atoms/g
        double aerial; // cm/yr
        double matched, unmatched, failed; // percent
    };
    const Case cases[] = {{test::kAl26, 0.0, 100.0, 0.0, 0.0},
                          {test::kAl26, 0.001, 0.0, 100.0, 0.0},
                          {5.8e6, 0.0, 0.0, 100.0, 0.0},
                          {7.5e6, 0.0, 0.0, 0.0, 100.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.al26);
        MonteCarloSample s = DefaultSample();
        s.al26 = c.al26;
        s.aerialErosion = c.aerial;
        MonteCarloResult result;
        ASSERT_TRUE(RunMonteCarlo(Alternating(), s, 10, 1, result, 2));
        const MonteCarloBlock block = MonteCarloBlockOf(result);
        EXPECT_EQ(block.matchedPercent, c.matched);
        EXPECT_EQ(block.unmatchedPercent, c.unmatched);
        EXPECT_EQ(block.failedPercent, c.failed);
        EXPECT_EQ(block.any, c.matched > 0.0);
        bool warning = false;
        for (const std::string& line : OutputLines(MonteCarloOutputTable(), block, 1))
            warning = warning || line.rfind("Warning", 0) == 0;
        EXPECT_EQ(warning, c.matched < 95.0);
    }
}

// A shared scaling error moves both production rates by one factor: their
// ratio stays the nominal one in every draw, and the factors spread by the
// error given (8 %, the sd of 400 draws known to some 4 %).
TEST(MonteCarlo, TheSharedScalingErrorMovesBothProductionRatesTogether)
{
    MonteCarloSample s = DefaultSample();
    s.productionScalingError = 8.0;
    MonteCarloResult result;
    const int n = 400;
    ASSERT_TRUE(RunMonteCarlo(Alternating(), s, n, 3, result, 2));
    double sum = 0.0, squares = 0.0;
    for (const MonteCarloDraw& d : result.samples) {
        EXPECT_NEAR(d.be10Production / s.be10Production, d.productionScaling, 1e-12);
        EXPECT_NEAR(d.al26Production / s.al26Production, d.productionScaling, 1e-12);
        sum += d.productionScaling;
        squares += d.productionScaling * d.productionScaling;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 1.0, 4.0 * 0.08 / std::sqrt(n));
    EXPECT_NEAR(std::sqrt(squares / n - mean * mean), 0.08, 4.0 * 0.08 / std::sqrt(2.0 * n));
}

TEST(MonteCarlo, TheSameSeedGivesTheSameBytesOnAnyThreadCount)
{
    MonteCarloSample s = DefaultSample();
    s.be10Error = 24000.0;
    s.al26Error = 156000.0;
    s.be10ProductionError = 0.5;
    std::string first;
    for (const int threads : {1, 2, 3}) {
        MonteCarloResult result;
        ASSERT_TRUE(RunMonteCarlo(Alternating(), s, 60, 42, result, threads));
        std::string bytes = FormatMonteCarloSamplesCsv(result);
        for (const std::string& line : OutputLines(MonteCarloOutputTable(), MonteCarloBlockOf(result), 1))
            bytes += line + "\n";
        if (first.empty())
            first = bytes;
        EXPECT_EQ(bytes, first) << threads << " threads";
    }
    MonteCarloResult other;
    ASSERT_TRUE(RunMonteCarlo(Alternating(), s, 60, 43, other, 2));
    EXPECT_NE(FormatMonteCarloSamplesCsv(other), first.substr(0, FormatMonteCarloSamplesCsv(other).size()));
}

TEST(MonteCarlo, PercentilesOfDrawnNormalDeviatesAreTheNormalOnes)
{
    // Quantiles of the standard normal (Abramowitz and Stegun 26.2): 0.5 -> 0,
    // 0.16 -> -0.9945, 0.84 -> 0.9945, 0.025 -> -1.9600, 0.975 -> 1.9600.
    std::vector<double> z;
    for (std::uint64_t d = 0; d < 2000; ++d)
        for (double v : MonteCarloNormalDeviates(9, d, 50))
            z.push_back(v);
    std::sort(z.begin(), z.end());
    // 100,000 deviates: a quantile's standard error is below 0.01.
    const struct {
        double p, quantile;
    } cases[] = {{0.5, 0.0}, {0.16, -0.9945}, {0.84, 0.9945}, {0.025, -1.9600}, {0.975, 1.9600}};
    for (const auto& c : cases)
        EXPECT_NEAR(SortedQuantile(z, c.p), c.quantile, 0.03) << c.p;
    // Interpolation between order statistics, by hand: 1..5 at 0.1 is 1.4.
    EXPECT_DOUBLE_EQ(SortedQuantile({1, 2, 3, 4, 5}, 0.1), 1.4);
    EXPECT_DOUBLE_EQ(SortedQuantile({1, 2, 3, 4, 5}, 1.0), 5.0);
}

TEST(MonteCarlo, StoppingAppendsNothingAndWholeNumbersAreRequired)
{
    TempDir dir;
    CMessageRecorder messages;
    SimulationInputs in;
    in.proxyFile = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    in.monteCarloDraws = 50;
    CResultList list;
    MonteCarloResult result;
    EXPECT_FALSE(AppendMonteCarlo(in, list, result, [](int, int) { return false; }));
    EXPECT_EQ(list.m_nLineCount, 0);
    in.monteCarloDraws = 10.5;
    EXPECT_FALSE(AppendMonteCarlo(in, list, result));
    EXPECT_EQ(list.m_nLineCount, 0);
    ASSERT_EQ(messages.Messages().size(), 1U);
}

} // namespace
} // namespace qex
