// The burial-exposure simulation engine: the worked example of the
// alternating curve, its failures, the year-0 point, the report's shape, the
// best-fit rules, a point lying exactly on the cut, and the fast evaluation
// against the straightforward one.

#include "core/Message.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/SimulationSession.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace qex {
namespace {

using namespace test;
// The sample's, not the nuclide kinds of the same names.
using test::kAl26;
using test::kBe10;

// The outputs of one engine run, preset to values no run gives.
struct EngineRun {
    int result = -1;
    double exposure = -7, burial = -7, total = -7, difference = -7, cut = -7, ratio = -7;
    std::vector<double> ages{-7.0};
    int cuttingNumber = -7;
    SimulationDetail detail;
};

EngineRun Simulate(const std::string& curve, const std::string& report, double be10 = kBe10, double al26 = kAl26,
             double be10Production = kBe10Production, double aerialErosion = 0.0, double glacialErosion = 0.0)
{
    EngineRun r;
    r.result = SimulateBurialExposure(curve, report, be10, be10Production, al26, kAl26Production, kDensity, kFreePath,
                                      aerialErosion, glacialErosion, r.exposure, r.burial, r.total, r.difference,
                                      r.cut, r.ages, r.cuttingNumber, r.ratio, &r.detail);
    return r;
}

// The report's per-cut-value lines (between the column header and the blank line).
std::vector<std::string> CutLines(const std::string& report)
{
    const auto lines = Lines(report);
    std::vector<std::string> cuts;
    bool inside = false;
    for (const auto& line : lines) {
        if (line.rfind("Cut_value,", 0) == 0) {
            inside = true;
            continue;
        }
        if (inside && line.empty())
            break;
        if (inside)
            cuts.push_back(line);
    }
    return cuts;
}

std::string BestSection(const std::string& report)
{
    const auto at = report.find("[Best Fit Information]");
    return at == std::string::npos ? std::string() : report.substr(at);
}

TEST(Simulation, WorkedExampleOfTheAlternatingCurve)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    CMessageRecorder messages;
    const EngineRun r = Simulate(curve, dir.File("report.txt"));

    ASSERT_EQ(r.result, 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_NEAR(r.cut, 3.366, 1e-9); // k = 183
    EXPECT_NEAR(r.difference, 0.035, 0.0005);
    EXPECT_NEAR(r.ratio, 5.337, 0.0005);
    EXPECT_NEAR(r.exposure, 104341.66, 0.005);
    EXPECT_NEAR(r.burial, 457520.00, 0.005);
    EXPECT_NEAR(r.total, 561861.655, 0.0005);
    // The cut 3.366 lies 0.366 above the 3.0 points, 3660 yr either side of
    // each; every burial stretch lasts 40000 - 2 * 3660 = 32680 yr.
    ASSERT_EQ(r.cuttingNumber, 28);
    ASSERT_EQ(r.ages.size(), 28u);
    for (int m = 0; m < 14; ++m) {
        EXPECT_NEAR(r.ages[2 * m], 40000.0 * m + 3660.0, 1e-6);
        EXPECT_NEAR(r.ages[2 * m + 1], 40000.0 * (m + 1) - 3660.0, 1e-6);
    }

    const std::string report = ReadFile(dir.File("report.txt"));
    const std::string head = "\n[Calculation Information]\n"
                             "Cut_value,  Cal_ratio, ABS_diff, First_cut_age, Exp_age, Burial_age\n"
                             "     3.002,";
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_EQ(CutLines(report).front(), "     3.002,      5.302,      0.623,         20,        600,       599400");
    const auto best = Lines(BestSection(report));
    ASSERT_EQ(best.size(), 67u);
    EXPECT_EQ(best[1], "Cut Value:    3.36600");
    EXPECT_EQ(best[2], "Ratio_Diff(*100):      0.035");
    EXPECT_EQ(best[3], "Calcualted Ratio:      5.337");
    EXPECT_EQ(best[4], "Total Exposure Age:  104341.66");
    EXPECT_EQ(best[5], "Total Burial Age:  457520.00");
    EXPECT_EQ(best[6], "Total year: 561861.655");
    EXPECT_EQ(best[7], "Cutting number: 28");
    EXPECT_EQ(best[8], "Cuting age No.1:         3660");
    EXPECT_EQ(best[35], "Cuting age No.28:       556340");
    EXPECT_EQ(best[36], "Number of BeN-R pair: 29");
    EXPECT_EQ(best[37], "       BeN,     AlN,    Ratio");
    EXPECT_EQ(best[38], "       70036,       427878,       6.11");
    EXPECT_EQ(best[66], "     1165000,      6218170,       5.34");
    EXPECT_EQ(report.back(), '\n');
}

TEST(Simulation, TheReportHasOneLinePerCutValueInIncreasingOrder)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    Simulate(curve, dir.File("report.txt"));
    const auto cuts = CutLines(ReadFile(dir.File("report.txt")));
    ASSERT_EQ(cuts.size(), 998u);
    // Cut k lies at 3.0 + k * 0.001 * (5.0 - 3.0).
    for (std::size_t i = 0; i < cuts.size(); ++i)
        EXPECT_NEAR(std::atof(cuts[i].c_str()), 3.0 + 0.002 * static_cast<double>(i + 1), 0.0005) << cuts[i];
}

TEST(Simulation, AMeasuredRatioAboveTheProductionRatioFailsWithoutMessageOrFile)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    WriteFile(dir.File("kept.txt"), "earlier report");
    CMessageRecorder messages;
    // 7200000 / 1165000 = 6.18 > 77.7 / 12.7 = 6.118.
    const EngineRun r = Simulate(curve, dir.File("new.txt"), kBe10, 7200000.0);
    const EngineRun kept = Simulate(curve, dir.File("kept.txt"), kBe10, 7200000.0);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(kept.result, 0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_FALSE(FileExists(dir.File("new.txt")));
    EXPECT_EQ(ReadFile(dir.File("kept.txt")), "earlier report");
    EXPECT_EQ(r.cut, -7);
    EXPECT_EQ(r.cuttingNumber, -7);
}

TEST(Simulation, UnusableNumbersFailBeforeAnyFileIsTouched)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    CMessageRecorder messages;
    EXPECT_EQ(Simulate(curve, dir.File("r.txt"), 0.0, 0.0).result, 0);       // no 10Be, no 26Al
    EXPECT_EQ(Simulate(curve, dir.File("r.txt"), kBe10, 0.0).result, 0);     // no 26Al
    EXPECT_EQ(Simulate(curve, dir.File("r.txt"), kBe10, kAl26, 0.0).result, 0); // no 10Be production
    // 3e7 atoms/g of 10Be is beyond saturation at 12.7 atoms/g/yr
    // (lambda N / P = 1.09): no exposure time gives it.
    EXPECT_EQ(Simulate(curve, dir.File("r.txt"), 3.0e7, kAl26).result, 0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_FALSE(FileExists(dir.File("r.txt")));
}

TEST(Simulation, CurveFileFailuresShowTheirMessageAndWriteNothing)
{
    TempDir dir;
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"Proxy_data\nX\n0 3\n1000 5\n", "Proxy data file is not correct!"},
        {"", "Proxy data file is not correct!"},
        {"Proxy_Data\nNameOnly\n", "Proxy data are too little!"},
        {"Proxy_Data", "Proxy data are too little!"},
        {"Proxy_Data\nX\n0 3.0\n1000 abc\n2000 5\n", "Proxy data file is not correct! Line 4 does not hold two numbers."},
        {"Proxy_Data\nX\n0 3.0\n1000 5.0\n2000\n", "Proxy data file is not correct! Line 5 does not hold two numbers."},
        {"Proxy_Data\nX\n0 3.0\n1000 nan\n", "Proxy data file is not correct! Line 4 does not hold two numbers."},
    };
    for (const auto& c : cases) {
        const std::string curve = WriteCurve(dir, "curve.dat", c.text);
        CMessageRecorder messages;
        EXPECT_EQ(Simulate(curve, dir.File("r.txt")).result, 0) << c.text;
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message}) << c.text;
        EXPECT_FALSE(FileExists(dir.File("r.txt")));
    }
    CMessageRecorder messages;
    EXPECT_EQ(Simulate(dir.File("missing.dat"), dir.File("r.txt")).result, 0);
    EXPECT_EQ(Simulate(dir.Path(), dir.File("r.txt")).result, 0);
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"Can not find Proxy data file!", "Can not find Proxy data file!"}));
}

TEST(Simulation, AReportThatCannotBeWrittenFailsWithItsMessage)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    CMessageRecorder messages;
    EXPECT_EQ(Simulate(curve, dir.File("no-such-folder/r.txt")).result, 0);
    EXPECT_EQ(Simulate(curve, dir.Path()).result, 0);
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"Can not find Output file!", "Can not find Output file!"}));
}

TEST(Simulation, ThePresentTakesTheSmallestValueOrTheFirstValueAtYearZero)
{
    TempDir dir;
    EngineRun late = Simulate(WriteCurve(dir, "late.dat", "Proxy_Data\nLate\n1000 4.0\n2000 3.5\n3000 5.0\n"),
                        dir.File("r1.txt"));
    EXPECT_EQ(late.detail.years, (std::vector<double>{0.0, 1000.0, 2000.0, 3000.0}));
    EXPECT_EQ(late.detail.values, (std::vector<double>{3.5, 4.0, 3.5, 5.0}));
    EngineRun atZero = Simulate(WriteCurve(dir, "zero.dat", "Proxy_Data\nZero\n0 4.0\n1000 3.5\n2000 5.0\n"),
                          dir.File("r2.txt"));
    EXPECT_EQ(atZero.detail.years, (std::vector<double>{0.0, 0.0, 1000.0, 2000.0}));
    EXPECT_EQ(atZero.detail.values, (std::vector<double>{4.0, 4.0, 3.5, 5.0}));
    // Close years are not merged by this loader.
    EngineRun close = Simulate(WriteCurve(dir, "close.dat", "Proxy_Data\nClose\n0 3\n0.0005 4\n1000 5\n"),
                         dir.File("r3.txt"));
    EXPECT_EQ(close.detail.years.size(), 4u);
}

TEST(Simulation, ASinglePointGivesACompleteReportWithoutBestFit)
{
    TempDir dir;
    CMessageRecorder messages;
    // One point at 1000 yr: every history is 1000 yr of exposure, far below
    // the 93733 yr the measured 10Be needs at the least.
    const EngineRun r = Simulate(WriteCurve(dir, "one.dat", "Proxy_Data\nOne\n1000 3.0\n"), dir.File("r.txt"));
    EXPECT_EQ(r.result, 0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(r.cut, -7);
    const std::string report = ReadFile(dir.File("r.txt"));
    EXPECT_EQ(CutLines(report).size(), 998u);
    EXPECT_EQ(BestSection(report), "[Best Fit Information]\nNo cut value qualified as best fit.\n");
    EXPECT_EQ(report.find("nan"), std::string::npos);
}

TEST(Simulation, ATieKeepsTheLowerCutValue)
{
    TempDir dir;
    // Every cut between 0 and 10 crosses once on the rise at 50-60 kyr and
    // the curve ends in that burial: each history counts wholly as 200 kyr of
    // exposure, so all 998 ratios are equal.
    const EngineRun r = Simulate(
        WriteCurve(dir, "tie.dat", "Proxy_Data\nTie\n0 0\n50000 0\n60000 10\n200000 10\n"), dir.File("r.txt"));
    ASSERT_EQ(r.result, 1);
    EXPECT_NEAR(r.cut, 0.01, 1e-12);
    EXPECT_EQ(r.cuttingNumber, 0);
    EXPECT_EQ(r.exposure, 200000.0);
    EXPECT_EQ(r.burial, 0.0);
    // Pure exposure of 200 kyr: (P26/l26)(1 - e^-l26 t) / ((P10/l10)(1 - e^-l10 t)) = 5.818653,
    // 9.0529 % above the measured 6216000 / 1165000 = 5.335622.
    EXPECT_NEAR(r.ratio, 5.818653, 0.000001);
    // The report still shows the crossing (50000 + 0.01 * 1000 yr).
    EXPECT_EQ(CutLines(ReadFile(dir.File("r.txt"))).front(),
              "     0.010,      5.819,      9.053,      50010,     200000,            0");
}

TEST(Simulation, OnlyHistoriesWithMoreThanTheMinimumExposureQualify)
{
    TempDir dir;
    // A straight rise from 0 to 10 over 100 kyr: cut c gives c * 10 kyr of
    // exposure and nothing else. The sample's 26Al is set so that 50 kyr of
    // exposure matches the ratio exactly: 6216000 -> N10 * 6.040436.
    // That history has less exposure than the minimum 93733 yr, so the best
    // fit is the first cut beyond it: 9.38 (93800 yr).
    const EngineRun r = Simulate(WriteCurve(dir, "rise.dat", "Proxy_Data\nRise\n0 0\n100000 10\n"), dir.File("r.txt"),
                           kBe10, kBe10 * 6.040436);
    ASSERT_EQ(r.result, 1);
    EXPECT_NEAR(r.cut, 9.38, 1e-9);
    EXPECT_NEAR(r.exposure, 93800.0, 1e-6);
    EXPECT_EQ(r.cuttingNumber, 0);
    const auto cuts = CutLines(ReadFile(dir.File("r.txt")));
    ASSERT_EQ(cuts.size(), 998u);
    EXPECT_EQ(cuts[499].substr(0, 35), "     5.000,      6.040,      0.000,"); // the closest ratio, not taken
}

TEST(Simulation, AMatchInTheFirstExposureStretchIsPureExposure)
{
    TempDir dir;
    // 93.8 kyr below every cut: at its end the 10Be is 1165812 atoms/g,
    // 0.07 % above the measurement, so every history stops there.
    const EngineRun r = Simulate(WriteCurve(dir, "long.dat", "Proxy_Data\nLong\n0 0\n93800 0\n300000 10\n"),
                           dir.File("r.txt"));
    ASSERT_EQ(r.result, 1);
    EXPECT_NEAR(r.cut, 0.01, 1e-12);
    EXPECT_EQ(r.cuttingNumber, 0);
    EXPECT_TRUE(r.ages.empty());
    EXPECT_EQ(r.exposure, 93800.0);
    EXPECT_EQ(r.total, 93800.0);
    EXPECT_EQ(r.burial, 0.0);
    const std::string report = ReadFile(dir.File("r.txt"));
    // Ratio of 93.8 kyr of exposure 5.973960, 11.9637 % above the measured 5.335622.
    EXPECT_EQ(CutLines(report).front(), "     0.010,      5.974,     11.964,          0,      93800,            0");
    const auto best = Lines(BestSection(report));
    ASSERT_EQ(best.size(), 11u);
    EXPECT_EQ(best[7], "Cutting number: 0");
    EXPECT_EQ(best[8], "Number of BeN-R pair: 1");
    EXPECT_EQ(best[10], "     1165812,      6964511,       5.97");
}

TEST(Simulation, APointExactlyOnTheCutCountsWithTheExposureSide)
{
    TempDir dir;
    // Cut 0.5 (k = 500) meets the point (20000, 0.5) exactly: the curve rises
    // from it into burial until it falls through the cut at 65000. The
    // history is exposure [0, 20000], burial [20000, 65000], exposure after.
    const std::string curve = WriteCurve(
        dir, "touch.dat", "Proxy_Data\nTouch\n0 0\n20000 0.5\n30000 1.0\n60000 1.0\n70000 0\n300000 0\n310000 0\n");
    CMessageRecorder messages;
    Simulate(curve, dir.File("r.txt"));
    EXPECT_TRUE(messages.Messages().empty());
    const auto cuts = CutLines(ReadFile(dir.File("r.txt")));
    ASSERT_EQ(cuts.size(), 998u);
    // Fields: cut, ratio, ABS_diff, first crossing, exposure, burial.
    std::vector<std::string> fields;
    std::istringstream line(cuts[499]);
    for (std::string field; std::getline(line, field, ',');)
        fields.push_back(field);
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_EQ(fields[0], "     0.500");
    EXPECT_EQ(fields[3], "      20000"); // the crossing at the point itself
    EXPECT_EQ(fields[5], "        45000");
}

TEST(Simulation, TheBundledLr04CurveGivesItsBestFitWithoutWarnings)
{
    TempDir dir;
    CMessageRecorder messages;
    const EngineRun r = Simulate(Lr04Path(), dir.File("r.txt"));
    ASSERT_EQ(r.result, 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_NEAR(r.cut, 3.7258, 5e-6);
    EXPECT_EQ(r.cuttingNumber, 28);
    EXPECT_EQ(r.detail.pairs.size(), 29u);
    EXPECT_EQ(r.detail.table.size(), 998u);
    // The youngest stretch ends in the warming out of the last glacial; the
    // history's parts add up to its age.
    EXPECT_NEAR(r.exposure + r.burial, r.total, 1e-6);
    EXPECT_GT(r.exposure, 93733.0);
}

// An independent forward model of the engine's physics: a sample exposed for
// `oldest` years, buried for `burial` years, then exposed for `youngest` years
// until today. Loss constant mu = ln 2 / half-life + rho epsA / Lambda in
// both kinds of interval; burial also strips rock at epsG (Lal 1991).
struct Sample {
    double be10 = 0.0;
    double al26 = 0.0;
};
Sample ForwardModel(double oldest, double burial, double youngest, double aerial, double glacial,
                    const HalfLives& halfLives)
{
    auto nuclide = [&](double production, double halfLife) {
        const double mu = std::log(2.0) / halfLife + kDensity * aerial / kFreePath;
        const double saturation = production / mu;
        double n = saturation * (1.0 - std::exp(-mu * oldest));
        n *= std::exp(-mu * burial) * std::exp(-kDensity * glacial * burial / kFreePath);
        return n * std::exp(-mu * youngest) + saturation * (1.0 - std::exp(-mu * youngest));
    };
    return {nuclide(kBe10Production, halfLives.be10), nuclide(kAl26Production, halfLives.al26)};
}

// Removing exposure at a history's old end takes dT = ln(1 + x) / mu: the
// walk lands on the history that made the sample, whatever half-lives both use.
TEST(Simulation, TheExactRemovalFindsTheHistoryThatMadeASquareWaveSample)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "square.dat", SquareWaveCurveText());
    constexpr double aerial = 0.0005;  // cm/yr
    constexpr double glacial = 0.002;  // cm/yr
    // 100 kyr of exposure, 40 kyr of burial, the last 20 kyr exposed.
    const Sample original = ForwardModel(100000.0, 40000.0, 20000.0, aerial, glacial, HalfLives{});
    EXPECT_NEAR(original.be10, 336599.9, 0.05);
    EXPECT_NEAR(original.al26, 2019380.6, 0.05);
    for (const HalfLives& halfLives : {HalfLives{}, HalfLives{1387000.0, 705000.0}}) {
        SCOPED_TRACE(halfLives.be10);
        const Sample sample = ForwardModel(100000.0, 40000.0, 20000.0, aerial, glacial, halfLives);
        CMessageRecorder messages;
        CSimulationSession session(curve, dir.File("report.txt"), kBe10Production, kAl26Production, kDensity,
                                   kFreePath, aerial, glacial, WalkEvaluation::Fast, halfLives);
        SimulationBestFit best;
        ASSERT_TRUE(session.Run(sample.be10, sample.al26, best));
        EXPECT_TRUE(messages.Messages().empty());
        // The crossings lie within the 1-year steps: each age to a few years.
        EXPECT_NEAR(best.exposureTime, 120000.0, 5.0);
        EXPECT_NEAR(best.burialTime, 40000.0, 1.0);
        EXPECT_NEAR(best.totalTime, 160000.0, 5.0);
        EXPECT_LT(best.ratioDifference, 0.01);
        EXPECT_EQ(best.cuttingNumber, 2);
        EXPECT_FALSE(best.offCurve);
    }
}

// With erosion keeping every history's 10Be below the measured value, the
// best history runs to the end of the 31-point curve (600 kyr): it is
// flagged; one that matched is not.
TEST(Simulation, ABestHistoryThatRunsOffTheCurveUnmatchedIsFlagged)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    constexpr double kEroding = 0.001; // cm/yr: saturation P / mu below the measured 10Be
    const EngineRun off = Simulate(curve, dir.File("off.txt"), kBe10, kAl26, kBe10Production, kEroding);
    ASSERT_EQ(off.result, 1);
    EXPECT_EQ(off.total, 600000.0);
    const EngineRun matched = Simulate(curve, dir.File("matched.txt"));
    ASSERT_EQ(matched.result, 1);
    for (const EngineRun* run : {&off, &matched}) {
        bool best = false;
        for (const SimulationTableRow& row : run->detail.table)
            if (row.cutValue == run->cut)
                best = row.matched;
        EXPECT_EQ(best, run == &matched);
    }
    for (const double erosion : {kEroding, 0.0}) {
        CSimulationSession session(curve, dir.File("r.txt"), kBe10Production, kAl26Production, kDensity, kFreePath,
                                   erosion, 0.0);
        SimulationBestFit fit;
        ASSERT_TRUE(session.Run(kBe10, kAl26, fit));
        EXPECT_EQ(fit.offCurve, erosion > 0.0);
    }
}

// An independent forward model on a real curve: at cut value c the sample is
// exposed while the curve lies below c and buried above it, the crossings
// interpolated linearly between the curve's points, for `total` years back
// from today. Intervals are evaluated from the oldest on with the loss
// constants of the model above.
Sample CurveForwardModel(const std::vector<std::pair<double, double>>& curve, double cut, double total, double aerial,
                         double glacial)
{
    std::vector<std::pair<double, bool>> pieces; // (years, exposed), youngest first
    for (std::size_t i = 0; i + 1 < curve.size() && curve[i].first < total; ++i) {
        const auto [t0, v0] = curve[i];
        const auto [t1, v1] = curve[i + 1];
        std::vector<double> edges{t0};
        if ((v0 - cut) * (v1 - cut) < 0.0)
            edges.push_back(t0 + (cut - v0) / (v1 - v0) * (t1 - t0));
        edges.push_back(t1);
        for (std::size_t e = 0; e + 1 < edges.size() && edges[e] < total; ++e) {
            const double mid = 0.5 * (edges[e] + std::min(edges[e + 1], total));
            const double value = v0 + (v1 - v0) * (mid - t0) / (t1 - t0);
            pieces.emplace_back(std::min(edges[e + 1], total) - edges[e], value < cut);
        }
    }
    auto nuclide = [&](double production, double halfLife) {
        const double mu = std::log(2.0) / halfLife + kDensity * aerial / kFreePath;
        double n = 0.0;
        for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
            const double decay = std::exp(-mu * piece->first);
            n = piece->second ? n * decay + production / mu * (1.0 - decay)
                              : n * decay * std::exp(-kDensity * glacial * piece->first / kFreePath);
        }
        return n;
    };
    const HalfLives halfLives;
    return {nuclide(kBe10Production, halfLives.be10), nuclide(kAl26Production, halfLives.al26)};
}

// Samples made on LR04 at grid cut values, the old end in the middle of an
// exposure stretch. With slow aerial erosion the history that explains them
// is found among the matched ones, not one that ran to the curve's end with
// too little 10Be and a ratio a hair closer. With burial erosion as well, old
// inventory is erased and the 10Be saturates: a total that is not the true
// one is called a lower limit (10Be known to 3 %).
TEST(Simulation, ErodedSamplesOnLr04AreRecoveredOrCalledLowerLimits)
{
    std::vector<std::pair<double, double>> curve;
    {
        std::istringstream text(ReadFile(Lr04Path()));
        std::string line;
        std::getline(text, line);
        std::getline(text, line);
        double t = 0.0, v = 0.0;
        while (text >> t >> v)
            curve.emplace_back(t, v);
    }
    double vmax = curve.front().second;
    for (const auto& point : curve)
        vmax = std::max(vmax, point.second);
    TempDir dir;
    struct Case {
        int k;          // grid step of the cut value
        int stretch;    // exposure stretch, counted from today, that holds the old end
        double aerial;  // cm/yr
        double glacial; // cm/yr
    };
    const Case cases[] = {{300, 3, 0.0003, 0.0}, {500, 5, 0.0003, 0.0}, {700, 4, 0.0003, 0.0},
                          {450, 4, 0.0003, 0.001}, {600, 6, 0.0003, 0.001}};
    for (const Case& c : cases) {
        const double cut = curve.front().second + c.k * 0.001 * (vmax - curve.front().second);
        // The stretches' starts and ends, walking back from today.
        std::vector<double> starts, ends;
        for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
            const auto [t0, v0] = curve[i];
            const auto [t1, v1] = curve[i + 1];
            if ((v0 - cut) * (v1 - cut) < 0.0)
                (v1 > cut ? ends : starts).push_back(t0 + (cut - v0) / (v1 - v0) * (t1 - t0));
        }
        ASSERT_GT(starts.size(), static_cast<std::size_t>(c.stretch));
        const double begin = starts[static_cast<std::size_t>(c.stretch - 1)];
        const double end = *std::upper_bound(ends.begin(), ends.end(), begin);
        const double total = 0.5 * (begin + end);
        SCOPED_TRACE(c.k);
        const Sample sample = CurveForwardModel(curve, cut, total, c.aerial, c.glacial);
        CSimulationSession session(Lr04Path(), dir.File("r.txt"), kBe10Production, kAl26Production, kDensity,
                                   kFreePath, c.aerial, c.glacial);
        session.SetBe10Uncertainty(0.03 * sample.be10);
        SimulationBestFit best;
        ASSERT_TRUE(session.Run(sample.be10, sample.al26, best));
        EXPECT_FALSE(best.offCurve);
        const bool close = std::fabs(best.totalTime - total) < 0.1 * total;
        EXPECT_TRUE(close || (c.glacial > 0.0 && best.lowerLimit)) << best.totalTime << " for " << total;
    }
}

// The fast evaluation decides from an O(1) estimate only where its error
// bound allows and re-walks every crossing otherwise: results and report must
// be those of the straightforward walk, to the bit and to the byte.
// The fast evaluation, the straightforward one and the walks shared among
// threads give the same reports, best fits and warnings to the last bit.
TEST(Simulation, FastStraightforwardAndThreadedWalksAgreeExactly)
{
    TempDir dir;
    const std::string alternating = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    const std::string square = WriteCurve(dir, "square.dat", SquareWaveCurveText());
    // Years near 1e297: burial sums too coarse for the consistency check, so
    // warnings; enough points for the walks to be shared among threads.
    std::string hugeText = "Proxy_Data\nHuge\n";
    for (int i = 0; i < 300; ++i)
        hugeText += std::to_string(i) + "e297 " + (i % 2 != 0 ? "5.0\n" : "3.0\n");
    const std::string huge = WriteCurve(dir, "huge.dat", hugeText);
    struct Case {
        std::string curve;
        double be10, al26, aerial, glacial;
    };
    const std::vector<Case> cases = {
        {alternating, kBe10, kAl26, 0.0, 0.0},
        {Lr04Path(), kBe10, kAl26, 0.0, 0.0},
        {Lr04Path(), kBe10 - 24000.0, kAl26 + 156000.0, 0.0, 0.0},
        {Lr04Path(), 400000.0, 2000000.0, 2e-4, 3e-4},
        {Lr04Path(), 2500000.0, 12000000.0, 0.0, 1e-3},
        {square, 336599.9, 2019380.6, 5e-4, 2e-3}, // exposure removed at the old end
        {huge, kBe10, kAl26, 0.0, 0.0},
    };
    const struct {
        WalkEvaluation evaluation;
        int threads;
    } ways[] = {{WalkEvaluation::Fast, 1}, {WalkEvaluation::Straightforward, 1}, {WalkEvaluation::Fast, 2},
                {WalkEvaluation::Fast, 3}};
    for (const auto& c : cases) {
        std::string reports[4];
        SimulationBestFit bests[4];
        bool found[4] = {};
        std::vector<std::string> warnings[4];
        for (int m = 0; m < 4; ++m) {
            const std::string path = dir.File("report" + std::to_string(m) + ".txt");
            CSimulationSession session(c.curve, path, kBe10Production, kAl26Production, kDensity, kFreePath, c.aerial,
                                       c.glacial, ways[m].evaluation);
            session.SetThreads(ways[m].threads);
            session.SetOldestYear(HUGE_VAL); // the huge curve is refused by default
            CMessageRecorder messages;
            found[m] = session.Run(c.be10, c.al26, bests[m]);
            ASSERT_TRUE(session.WriteReport());
            reports[m] = ReadFile(path);
            warnings[m] = messages.Messages();
        }
        EXPECT_EQ(warnings[0].empty(), c.curve != huge);
        for (int m = 1; m < 4; ++m) {
            SCOPED_TRACE(c.curve + " " + std::to_string(c.be10) + " way " + std::to_string(m));
            EXPECT_EQ(found[0], found[m]);
            EXPECT_EQ(reports[0], reports[m]);
            EXPECT_EQ(warnings[0], warnings[m]);
            EXPECT_EQ(bests[0].exposureTime, bests[m].exposureTime);
            EXPECT_EQ(bests[0].totalTime, bests[m].totalTime);
            EXPECT_EQ(bests[0].calculatedRatio, bests[m].calculatedRatio);
            EXPECT_EQ(bests[0].cuttingAges, bests[m].cuttingAges);
        }
    }
}

} // namespace
} // namespace qex
