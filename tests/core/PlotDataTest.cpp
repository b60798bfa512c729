// The plot data: the exposure and burial stretches of a cut and of a
// simulated history against hand-walked histories, the two-nuclide curves
// against hand-calculated concentrations, and the simulation's plots and CSV
// table on the worked example of the alternating curve.

#include "core/Message.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/MonteCarlo.h"
#include "proxy/PlotData.h"
#include "proxy/ProxyCurve.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationCurve.h"
#include "proxy/SimulationTable.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sstream>

namespace qex {
namespace {

using namespace test;

// Durations of 0.001 kyr and better are known exactly here.
constexpr double kKyrTolerance = 1e-9;

struct Expected {
    StretchKind kind;
    double start; // kyr
    double end;   // kyr
};

void ExpectStretches(const std::vector<HistoryStretch>& actual, const std::vector<Expected>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].kind, expected[i].kind);
        EXPECT_NEAR(actual[i].start, expected[i].start, kKyrTolerance);
        EXPECT_NEAR(actual[i].end, expected[i].end, kKyrTolerance);
    }
}

double Sum(const std::vector<HistoryStretch>& stretches, StretchKind kind)
{
    double sum = 0.0;
    for (const HistoryStretch& s : stretches)
        if (s.kind == kind)
            sum += s.Duration();
    return sum;
}

constexpr auto E = StretchKind::Exposure;
constexpr auto B = StretchKind::Burial;

TEST(CutHistoryPlot, StretchesOfTheWorkedExampleEndAtTheTotalAge)
{
    // (0, 5), (10000, 3), (20000, 5), (30000, 3), cut 4: crossings at 5000 and
    // 15000 yr. With 7000 yr of exposure the history ends 2000 yr into the
    // second exposure stretch (total 17000 yr, burial 10000 yr).
    TempDir dir;
    const std::string path = WriteCurve(dir, "w.dat", "Proxy_Data\nW\n0 5\n10000 3\n20000 5\n30000 3\n");
    CProxyCurve curve(path);
    ASSERT_EQ(curve.CutAtValue(4.0, 7000.0), 20000.0);
    const ProxyHistoryPlot plot = MakeCutHistoryPlot(curve);
    ExpectStretches(plot.stretches, {{E, 0, 5}, {B, 5, 15}, {E, 15, 17}});
    EXPECT_EQ(plot.stretches[1].label, "10.0 kyr");
    EXPECT_EQ(plot.crossings, (std::vector<double>{5.0, 15.0}));
    EXPECT_DOUBLE_EQ(plot.totalAge, 17.0);
    EXPECT_DOUBLE_EQ(plot.exposure, 7.0);
    EXPECT_DOUBLE_EQ(plot.burial, 10.0);
    EXPECT_EQ(plot.curveName, "W");
    ASSERT_EQ(plot.curve.size(), 4u);
    EXPECT_DOUBLE_EQ(plot.curve[3].x, 30.0);
    EXPECT_DOUBLE_EQ(plot.curve[3].y, 3.0);
    // The whole history and a little of the curve beyond it; the cut within the values.
    EXPECT_DOUBLE_EQ(plot.ages.minimum, 0.0);
    EXPECT_GT(plot.ages.maximum, 17.0);
    EXPECT_LT(plot.values.minimum, 3.0);
    EXPECT_GT(plot.values.maximum, 5.0);
    EXPECT_NE(plot.title.find("W, cut value 4.000"), std::string::npos);

    // 100000 yr of exposure outlast the curve: the walk ends at the crossing
    // at 25000 yr with 15000 yr of exposure, and the missing 85000 yr follow
    // the last exposure stretch (total 110000 yr).
    ASSERT_EQ(curve.CutAtValue(4.0, 100000.0), 25000.0);
    const ProxyHistoryPlot longer = MakeCutHistoryPlot(curve);
    ExpectStretches(longer.stretches, {{E, 0, 5}, {B, 5, 15}, {E, 15, 110}});
    EXPECT_EQ(longer.crossings, (std::vector<double>{5.0, 15.0, 25.0}));
    EXPECT_DOUBLE_EQ(longer.totalAge, 110.0);
}

TEST(CutHistoryPlot, ABurialLeftWithTheExposureJustReachedStillCountsAsBurial)
{
    // (0, 5), (10000, 4), (20000, 5), (30000, 3), (40000, 5), cut 4: the
    // curve touches the cut at 10000 yr (exposure side), leaves it at 25000 yr
    // with exactly 25000 yr of exposure (so that crossing is not listed) and
    // returns at 35000 yr, where the walk stops. Burial 25000..35000 yr.
    TempDir dir;
    const std::string path =
        WriteCurve(dir, "t.dat", "Proxy_Data\nTouch\n0 5\n10000 4\n20000 5\n30000 3\n40000 5\n");
    CProxyCurve curve(path);
    ASSERT_EQ(curve.CutAtValue(4.0, 25000.0), 40000.0);
    ASSERT_EQ(curve.crossings, (std::vector<double>{35000.0}));
    const ProxyHistoryPlot plot = MakeCutHistoryPlot(curve);
    ExpectStretches(plot.stretches, {{E, 0, 25}, {B, 25, 35}});
    EXPECT_DOUBLE_EQ(Sum(plot.stretches, E), curve.exposureAge / 1000.0);
    EXPECT_DOUBLE_EQ(Sum(plot.stretches, B), curve.burialAge / 1000.0);
    EXPECT_DOUBLE_EQ(plot.totalAge, 35.0);

    // With 28000 yr the walk goes on past the return: exposure 0..25 and 35..38 kyr.
    ASSERT_EQ(curve.CutAtValue(4.0, 28000.0), 40000.0);
    ExpectStretches(MakeCutHistoryPlot(curve).stretches, {{E, 0, 25}, {B, 25, 35}, {E, 35, 38}});

    // No exposure at all: a history of no length, and the whole curve to look at.
    ASSERT_EQ(curve.CutAtValue(4.0, 0.0), 10000.0);
    const ProxyHistoryPlot none = MakeCutHistoryPlot(curve);
    EXPECT_TRUE(none.stretches.empty());
    EXPECT_DOUBLE_EQ(none.totalAge, 0.0);
    EXPECT_DOUBLE_EQ(none.ages.maximum, 40.0);
}

TEST(SimulationHistoryPlot, StretchesAlternateBackFromTheOldestInterval)
{
    // Crossings 10, 20, 30 kyr with an oldest burial to 40 kyr; crossings 10,
    // 20 with an oldest exposure to 25; none at all.
    ExpectStretches(AlternatingStretches({10000, 20000, 30000}, true, 40000),
                    {{E, 0, 10}, {B, 10, 20}, {E, 20, 30}, {B, 30, 40}});
    ExpectStretches(AlternatingStretches({10000, 20000}, false, 25000), {{E, 0, 10}, {B, 10, 20}, {E, 20, 25}});
    ExpectStretches(AlternatingStretches({}, false, 8000), {{E, 0, 8}});
}

TEST(TwoNuclideCurves, PassThroughHandCalculatedConcentrations)
{
    // Default sample's production rates, half-lives 1.5 Myr and 0.71 Myr.
    // Constant exposure N = P/lambda (1 - e^(-lambda t)):
    //   t = 100 kyr: 10Be 1241104 atoms/g, ratio 5.96467
    //   t = 1 Myr:   10Be 10169921 atoms/g, ratio 4.87778
    const PlotPoint young = ConstantExposurePoint(kBe10Production, kAl26Production, 1e5);
    EXPECT_NEAR(young.x, 1241104.0, 1.0);
    EXPECT_NEAR(young.y, 5.96467, 1e-5);
    const PlotPoint old = ConstantExposurePoint(kBe10Production, kAl26Production, 1e6);
    EXPECT_NEAR(old.x, 10169921.0, 1.0);
    EXPECT_NEAR(old.y, 4.87778, 1e-5);
    // Steady erosion N = P / (lambda + rho eps / Lambda), rho 2.75, Lambda 150:
    //   eps = 1e-4 cm/yr: 10Be 5532729 atoms/g, ratio 4.99848
    //   eps = 1e-3 cm/yr: 10Be 675696 atoms/g, ratio 5.95520
    const PlotPoint slow = SteadyErosionPoint(kBe10Production, kAl26Production, kDensity, kFreePath, 1e-4);
    EXPECT_NEAR(slow.x, 5532729.0, 1.0);
    EXPECT_NEAR(slow.y, 4.99848, 1e-5);
    const PlotPoint fast = SteadyErosionPoint(kBe10Production, kAl26Production, kDensity, kFreePath, 1e-3);
    EXPECT_NEAR(fast.x, 675696.0, 1.0);
    EXPECT_NEAR(fast.y, 5.95520, 1e-5);
    // With today's half-lives, 1.387 and 0.705 Myr: 1 Myr of exposure gives
    // 10Be 9995287 atoms/g, ratio 4.94860; eps = 1e-4 cm/yr 5443451, 5.06797.
    const HalfLives today{1387000.0, 705000.0};
    const PlotPoint oldToday = ConstantExposurePoint(kBe10Production, kAl26Production, 1e6, today);
    EXPECT_NEAR(oldToday.x, 9995287.0, 1.0);
    EXPECT_NEAR(oldToday.y, 4.94860, 1e-5);
    const PlotPoint slowToday =
        SteadyErosionPoint(kBe10Production, kAl26Production, kDensity, kFreePath, 1e-4, today);
    EXPECT_NEAR(slowToday.x, 5443451.0, 1.0);
    EXPECT_NEAR(slowToday.y, 5.06797, 1e-5);
}

// The worked example: the alternating curve with the default sample.
class WorkedExamplePlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
        inputs.proxyFile = curve;
        inputs.outputFile = dir.File("report.txt");
        CResultList list;
        ASSERT_TRUE(AppendSingleSimulation(inputs, list, &detail));
    }
    TempDir dir;
    std::string curve;
    SimulationInputs inputs;
    SimulationDetail detail;
};

TEST_F(WorkedExamplePlots, HistoryHasTheReportedCrossingsAndDurations)
{
    // Best cut 3.366: 28 crossings 3.66, 36.34, 43.66, ... 556.34 kyr, each
    // burial 32.68 kyr; exposure 104.34166, burial 457.52, total 561.861655 kyr.
    const PlotSet plots = MakeSimulationPlots(inputs, detail);
    const ProxyHistoryPlot& h = plots.history;
    EXPECT_EQ(h.curveName, "Alternating");
    EXPECT_DOUBLE_EQ(h.cutValue, detail.bestCutValue);
    EXPECT_NEAR(h.cutValue, 3.366, 1e-9);
    ASSERT_EQ(h.crossings.size(), 28u);
    EXPECT_NEAR(h.crossings.front(), 3.66, 1e-6);
    EXPECT_NEAR(h.crossings.back(), 556.34, 1e-6);
    ASSERT_EQ(h.stretches.size(), 29u);
    for (std::size_t i = 0; i < h.stretches.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(h.stretches[i].kind, i % 2 == 0 ? E : B);
        EXPECT_DOUBLE_EQ(h.stretches[i].start, i == 0 ? 0.0 : h.crossings[i - 1]);
        if (i % 2 == 1) {
            EXPECT_NEAR(h.stretches[i].Duration(), 32.68, 1e-6);
        }
    }
    EXPECT_NEAR(h.stretches.back().end, 561.861655, 1e-6);
    EXPECT_NEAR(h.totalAge, 561.861655, 1e-6);
    EXPECT_NEAR(Sum(h.stretches, B), 457.52, 1e-6);
    EXPECT_NEAR(Sum(h.stretches, E), 104.34166, 1e-5);
    EXPECT_NEAR(h.exposure, 104.34166, 1e-5);
    EXPECT_NEAR(h.burial, 457.52, 1e-6);
    ASSERT_EQ(h.curve.size(), 31u);
    EXPECT_DOUBLE_EQ(h.curve[1].x, 20.0);
    EXPECT_DOUBLE_EQ(h.curve[1].y, 5.0);
}

TEST_F(WorkedExamplePlots, TwoNuclideDiagramHoldsTheSampleAndThePairPath)
{
    const TwoNuclidePlot plot = MakeTwoNuclidePlot(inputs, detail);
    // Measured 6216000 / 1165000 = 5.335622; one sigma from 24000 and 156000
    // atoms/g in quadrature: 5.335622 * sqrt(0.020601^2 + 0.025097^2) = 0.173242.
    EXPECT_DOUBLE_EQ(plot.sample.x, 1165000.0);
    EXPECT_NEAR(plot.sample.y, 5.335622, 1e-6);
    EXPECT_DOUBLE_EQ(plot.be10Sigma, 24000.0);
    EXPECT_NEAR(plot.ratioSigma, 0.173242, 1e-6);
    // 29 pairs, the first 70036, 427878, 6.11, the last 1165000, 6218170, 5.34.
    ASSERT_EQ(plot.path.size(), 29u);
    EXPECT_NEAR(plot.path.front().x, 70036.0, 0.5);
    EXPECT_NEAR(plot.path.front().y, 6.11, 0.005);
    EXPECT_NEAR(plot.path.back().x, 1165000.0, 0.5);
    EXPECT_NEAR(plot.path.back().y, 5.34, 0.005);
    // Both end members start near the production ratio 77.7 / 12.7 = 6.1181
    // and meet at saturation, 10Be 12.7 / lambda10 = 27483341 atoms/g, ratio
    // 6.1181 * 0.71 / 1.5 = 2.895906.
    EXPECT_NEAR(plot.constantExposure.front().y, 6.1181, 1e-3);
    EXPECT_NEAR(plot.steadyErosion.front().y, 6.1181, 1e-3);
    EXPECT_NEAR(plot.constantExposure.back().x, 27483341.0, 30.0);
    EXPECT_NEAR(plot.steadyErosion.back().x, 27483341.0, 1.0);
    EXPECT_NEAR(plot.steadyErosion.back().y, 2.895906, 1e-6);
    // Whole decades around the path (from 7e4) and saturation (2.7e7).
    EXPECT_DOUBLE_EQ(plot.be10.minimum, 1e4);
    EXPECT_DOUBLE_EQ(plot.be10.maximum, 1e8);
    EXPECT_LT(plot.ratio.minimum, 2.895906);
    EXPECT_GT(plot.ratio.maximum, 6.1181);
}

TEST_F(WorkedExamplePlots, FitPlotHasEveryCutValueAndTheBestFit)
{
    const FitPlot plot = MakeFitPlot(detail);
    ASSERT_EQ(plot.points.size(), 998u);
    // Cut values 3 + k * 0.002, k = 1 .. 998; the first history's ratio differs by 0.623 %.
    EXPECT_NEAR(plot.points.front().x, 3.002, 1e-12);
    EXPECT_NEAR(plot.points.back().x, 4.996, 1e-12);
    EXPECT_NEAR(plot.points.front().y, 0.623, 5e-4);
    ASSERT_TRUE(plot.hasBest);
    EXPECT_NEAR(plot.best.x, 3.366, 1e-12);
    EXPECT_NEAR(plot.best.y, 0.035, 5e-4);
    EXPECT_EQ(plot.points[182].x, plot.best.x);
}

TEST_F(WorkedExamplePlots, CsvTableHoldsTheReportColumnsAndTheBestPairs)
{
    const std::string csv = FormatSimulationTableCsv(detail);
    std::istringstream in(csv);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    // Header, 998 rows, an empty line, the pair header and 29 pairs.
    ASSERT_EQ(lines.size(), 1u + 998u + 1u + 1u + 29u);
    EXPECT_EQ(lines[0], "cut_value,calculated_ratio,abs_diff_percent,first_cut_age_yr,exposure_yr,burial_yr,matched,lower_limit");
    EXPECT_EQ(lines[999], "");
    EXPECT_EQ(lines[1000], "pair,be10_atoms_per_g,al26_atoms_per_g,ratio");

    // The report's first line: 3.002, 5.302, 0.623, 20, 600, 599400.
    double row[6];
    ASSERT_EQ(std::sscanf(lines[1].c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &row[0], &row[1], &row[2], &row[3], &row[4],
                          &row[5]),
              6);
    EXPECT_NEAR(row[0], 3.002, 5e-4);
    EXPECT_NEAR(row[1], 5.302, 5e-4);
    EXPECT_NEAR(row[2], 0.623, 5e-4);
    EXPECT_NEAR(row[3], 20.0, 0.5);
    EXPECT_NEAR(row[4], 600.0, 0.5);
    EXPECT_NEAR(row[5], 599400.0, 0.5);

    // Pairs oldest first: 70036, 427878, 6.11 ... 1165000, 6218170, 5.34.
    int number = 0;
    double be = 0, al = 0, ratio = 0;
    ASSERT_EQ(std::sscanf(lines[1001].c_str(), "%d,%lf,%lf,%lf", &number, &be, &al, &ratio), 4);
    EXPECT_EQ(number, 1);
    EXPECT_NEAR(be, 70036.0, 0.5);
    EXPECT_NEAR(al, 427878.0, 0.5);
    EXPECT_NEAR(ratio, 6.11, 0.005);
    ASSERT_EQ(std::sscanf(lines.back().c_str(), "%d,%lf,%lf,%lf", &number, &be, &al, &ratio), 4);
    EXPECT_EQ(number, 29);
    EXPECT_NEAR(be, 1165000.0, 0.5);
    EXPECT_NEAR(al, 6218170.0, 0.5);
    EXPECT_NEAR(ratio, 5.34, 0.005);
}

TEST(MonteCarloPlot, EachQuantityIsBinnedOverItsOwnValues)
{
    // Ten draws: exposure 100 to 104.5 kyr, burial 400 to 850 kyr; one failed draw left out.
    MonteCarloResult result;
    result.draws = 11;
    for (int i = 0; i < 10; ++i) {
        MonteCarloDraw draw;
        draw.ok = true;
        draw.be10 = 1e6;
        draw.al26 = 5e6;
        draw.exposure = (100.0 + 0.5 * i) * 1000.0;
        draw.burial = (400.0 + 50.0 * i) * 1000.0;
        draw.total = draw.exposure + draw.burial;
        result.samples.push_back(draw);
    }
    result.samples.push_back(MonteCarloDraw{});
    const MonteCarloPlot plot = MakeMonteCarloPlot(result);
    ASSERT_EQ(plot.histograms.size(), 3u);
    const struct {
        double low, high;
    } ranges[] = {{100.0, 104.5}, {400.0, 850.0}, {500.0, 954.5}};
    for (std::size_t q = 0; q < 3; ++q) {
        const MonteCarloHistogram& h = plot.histograms[q];
        EXPECT_NEAR(h.ages.minimum, ranges[q].low, 1e-9) << h.name;
        EXPECT_NEAR(h.ages.maximum, ranges[q].high, 1e-9) << h.name;
        // Every bin's count twice (its two top corners), the outline's ends at zero: ten draws in all.
        double counted = 0.0;
        for (std::size_t i = 1; i + 1 < h.outline.size(); i += 2)
            counted += h.outline[i].y;
        EXPECT_EQ(counted, 10.0) << h.name;
        EXPECT_GE(h.draws.maximum, 1.0);
    }
    EXPECT_EQ(plot.cloud.size(), 10u);
}

TEST(CurveName, IsTheLoadersBehindAByteOrderMarkToo)
{
    // Both loaders keep the header's word; the plots take it from them.
    const std::string text = "\xEF\xBB\xBFProxy_Data Bom\r\n0 3.0\r\n1000 5.0\r\n2000 3.0\r\n";
    SimulationCurve walked;
    std::string message;
    ASSERT_TRUE(LoadSimulationCurveText(text, walked, message));
    EXPECT_EQ(walked.name, "Bom");
    CMessageRecorder messages;
    CProxyCurve cut("");
    ASSERT_EQ(cut.LoadText(text), 1);
    EXPECT_EQ(cut.name, "Bom");
}

} // namespace
} // namespace qex
