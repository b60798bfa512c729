// The simulation dialog's calculations: the block of the calculation with
// uncertainties and of the single calculation, the ranges over the nine
// perturbed runs against separate engine runs, the report they leave, and
// their failures.

#include "core/Message.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/SimulationCalculation.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>

namespace qex {
namespace {

using namespace test;

SimulationInputs Inputs(const std::string& curve, const std::string& report)
{
    SimulationInputs in;
    in.proxyFile = curve;
    in.outputFile = report;
    return in;
}

// The number after the colon of a "Name  :   value" line.
double ValueOf(const std::string& line)
{
    return std::atof(line.substr(line.find(':') + 1).c_str());
}

// Smallest and largest exposure, burial, total (kyr), first crossing (kyr),
// cut value and ratio difference over separate engine runs for the nine
// combinations; runs that fail are left out, and runs without crossings out of
// the first crossing's range.
struct Ranges {
    double low[6];
    double high[6];
    int runs = 0;
};

Ranges SeparateRanges(const SimulationInputs& in, const std::string& report)
{
    Ranges r;
    std::fill(std::begin(r.low), std::end(r.low), 1e300);
    std::fill(std::begin(r.high), std::end(r.high), -1e300);
    for (int a = -1; a <= 1; ++a) {
        for (int b = -1; b <= 1; ++b) {
            double exposure = 0, burial = 0, total = 0, difference = 0, cut = 0, ratio = 0;
            std::vector<double> ages;
            int count = 0;
            if (SimulateBurialExposure(in.proxyFile, report, in.be10 + a * in.be10Error, in.be10Production,
                                       in.al26 + b * in.al26Error, in.al26Production, in.density, in.freePath, 0.0,
                                       0.0, exposure, burial, total, difference, cut, ages, count, ratio) != 1)
                continue;
            ++r.runs;
            const double values[6] = {exposure / 1000, burial / 1000, total / 1000,
                                      count > 0 ? ages.front() / 1000 : 0.0, cut, difference};
            for (int q = 0; q < 6; ++q) {
                if (q == 3 && count == 0)
                    continue; // no first crossing to range over
                r.low[q] = std::min(r.low[q], values[q]);
                r.high[q] = std::max(r.high[q], values[q]);
            }
        }
    }
    return r;
}

void ExpectRanges(const std::vector<std::string>& lines, std::size_t first, const Ranges& expected)
{
    for (int q = 0; q < 6; ++q) {
        EXPECT_NEAR(ValueOf(lines.at(first + 2 * static_cast<std::size_t>(q))), expected.low[q], 0.000005) << q;
        EXPECT_NEAR(ValueOf(lines.at(first + 2 * static_cast<std::size_t>(q) + 1)), expected.high[q], 0.000005) << q;
    }
}

// The worked example's result lines: cut 3.366, 28 crossings 3660 yr either
// side of each 3.0 point from 40 kyr on.
std::vector<std::string> WorkedExampleAgeLines()
{
    std::vector<std::string> lines;
    char buffer[64];
    for (int i = 1; i <= 28; ++i) {
        const int m = (i - 1) / 2;
        const double kyr = i % 2 == 1 ? 40.0 * m + 3.66 : 40.0 * (m + 1) - 3.66;
        std::snprintf(buffer, sizeof buffer, "Intersect year(kyr) %d:   %-10.3f", i, kyr);
        lines.push_back(buffer);
    }
    return lines;
}

TEST(SimulationCalculation, SingleCalculationListsTheWorkedExample)
{
    TempDir dir;
    CResultList list;
    CMessageRecorder messages;
    ASSERT_TRUE(AppendSingleSimulation(
        Inputs(WriteCurve(dir, "alternating.dat", AlternatingCurveText()), dir.File("report.txt")), list));
    std::vector<std::string> expected = {
        "Calculation Result 1",
        "Cut Value  :   3.36600   ",
        "Ratio_diff(100%) :   0.035     ",
        "Exposure Age(kyr)  :   104.342   ",
        "Bural Age(kyr)         :   457.520   ",
        "Total Age(kyr)        :   561.862   ",
        "Al-Be Ratio              :   5.337     ",
        "Intersect Numbers   :    28",
    };
    for (const auto& line : WorkedExampleAgeLines())
        expected.push_back(line);
    EXPECT_EQ(list.Lines(), expected);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.m_nResultCount, 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_NE(ReadFile(dir.File("report.txt")).find("Cut Value:    3.36600\n"), std::string::npos);
}

TEST(SimulationCalculation, WithoutUncertaintiesEveryRangeIsTheCentralValue)
{
    TempDir dir;
    SimulationInputs in = Inputs(WriteCurve(dir, "alternating.dat", AlternatingCurveText()), dir.File("report.txt"));
    in.be10Error = 0.0;
    in.al26Error = 0.0;
    CResultList list;
    ASSERT_TRUE(AppendSimulationWithUncertainties(in, list));
    const auto& lines = list.Lines();
    // Heading, 7 result lines, 28 ages, line feed, heading, 12 ranges, line feed.
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(list.m_nLineCount, 51);
    EXPECT_EQ(lines[0], "Calculation Results 1: Mean Value");
    EXPECT_EQ(lines[1], "Cut Value  :   3.36600   ");
    EXPECT_EQ(lines[7], "Intersect Numbers   :    28");
    EXPECT_EQ(lines[36], "\n");
    EXPECT_EQ(lines[37], "Calculation Results 1: Uncertainties");
    EXPECT_EQ(lines[50], "\n");
    const char* names[] = {"Total Exposure", "Total Burial", "Total Duration", "First_Cut", "Cutoff Value",
                           "Ratio Difference"};
    const double central[] = {104.341655, 457.52, 561.861655, 3.66, 3.366, 0.035};
    // Five decimals are shown; the ratio difference is known to three.
    const double tolerance[] = {0.00001, 0.00001, 0.00001, 0.00001, 0.00001, 0.0005};
    for (int q = 0; q < 6; ++q) {
        const std::string& minimum = lines[static_cast<std::size_t>(38 + 2 * q)];
        const std::string& maximum = lines[static_cast<std::size_t>(39 + 2 * q)];
        EXPECT_EQ(minimum.rfind(std::string(names[q]) + " Minimum  :   ", 0), 0u) << minimum;
        EXPECT_EQ(maximum.rfind(std::string(names[q]) + " Maximum  :   ", 0), 0u) << maximum;
        EXPECT_EQ(minimum.substr(minimum.find(':')), maximum.substr(maximum.find(':')));
        EXPECT_NEAR(ValueOf(minimum), central[q], tolerance[q]) << minimum;
    }
    EXPECT_EQ(lines[46], "Cutoff Value Minimum  :   3.36600   ");
    EXPECT_EQ(list.Selected(), 0);

    // The saved text: each line and a line end, the line-feed lines as blank lines.
    const std::string text = list.Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 53);
    EXPECT_NE(text.find("Intersect year(kyr) 28:   556.340   \n\n\nCalculation Results 1: Uncertainties\n"),
              std::string::npos);

    // The next block carries the next number; Clean Up starts again at 1.
    ASSERT_TRUE(AppendSimulationWithUncertainties(in, list));
    EXPECT_EQ(list.Lines()[51], "Calculation Results 2: Mean Value");
    EXPECT_EQ(list.Lines()[88], "Calculation Results 2: Uncertainties");
    EXPECT_EQ(list.Selected(), 51);
    list.CleanUp();
    ASSERT_TRUE(AppendSingleSimulation(in, list));
    EXPECT_EQ(list.Lines()[0], "Calculation Result 1");
}

// The ranges come from nine runs that share walks; each must equal what a
// separate engine run gives for its concentrations.
TEST(SimulationCalculation, RangesAreThoseOfNineSeparateEngineRuns)
{
    TempDir dir;
    const SimulationInputs in = Inputs(Lr04Path(), dir.File("report.txt"));
    CResultList list;
    CMessageRecorder messages;
    ASSERT_TRUE(AppendSimulationWithUncertainties(in, list));
    EXPECT_TRUE(messages.Messages().empty());
    const std::string reportAfterCalculation = ReadFile(dir.File("report.txt"));

    const Ranges separate = SeparateRanges(in, dir.File("separate.txt"));
    ASSERT_EQ(separate.runs, 9);
    const auto& lines = list.Lines();
    ASSERT_EQ(lines.size(), 51u); // 28 crossings
    ExpectRanges(lines, 38, separate);
    EXPECT_EQ(lines[1], "Cut Value  :   3.72580   ");
    EXPECT_EQ(lines[7], "Intersect Numbers   :    28");

    // The report is the central run's, as a lone run with the measured values writes it.
    double exposure = 0, burial = 0, total = 0, difference = 0, cut = 0, ratio = 0;
    std::vector<double> ages;
    int count = 0;
    SimulateBurialExposure(Lr04Path(), dir.File("central.txt"), in.be10, in.be10Production, in.al26,
                           in.al26Production, in.density, in.freePath, 0.0, 0.0, exposure, burial, total, difference,
                           cut, ages, count, ratio);
    EXPECT_EQ(reportAfterCalculation, ReadFile(dir.File("central.txt")));
}

TEST(SimulationCalculation, ErosionRatesAreGivenInCmPerKyr)
{
    TempDir dir;
    SimulationInputs in = Inputs(Lr04Path(), dir.File("report.txt"));
    in.aerialErosion = 0.2;  // cm/kyr
    in.glacialErosion = 0.5; // cm/kyr
    CResultList list;
    ASSERT_TRUE(AppendSingleSimulation(in, list));
    double exposure = 0, burial = 0, total = 0, difference = 0, cut = 0, ratio = 0;
    std::vector<double> ages;
    int count = 0;
    ASSERT_EQ(SimulateBurialExposure(Lr04Path(), dir.File("direct.txt"), in.be10, in.be10Production, in.al26,
                                     in.al26Production, in.density, in.freePath, 0.0002, 0.0005, exposure, burial,
                                     total, difference, cut, ages, count, ratio),
              1);
    EXPECT_EQ(ReadFile(dir.File("report.txt")), ReadFile(dir.File("direct.txt")));
    EXPECT_NEAR(ValueOf(list.Lines()[1]), cut, 0.000005);
}

TEST(SimulationCalculation, FailuresAppendNothing)
{
    TempDir dir;
    const std::string curve = WriteCurve(dir, "alternating.dat", AlternatingCurveText());
    CResultList list;
    CMessageRecorder messages;

    EXPECT_FALSE(AppendSimulationWithUncertainties(Inputs("", dir.File("r.txt")), list));
    EXPECT_FALSE(AppendSingleSimulation(Inputs(curve, ""), list));
    // A ratio above the production ratio: every run fails, and the calculation says why.
    SimulationInputs high = Inputs(curve, dir.File("r.txt"));
    high.al26 = 7200000.0;
    high.al26Error = 0.0;
    high.be10Error = 0.0;
    EXPECT_FALSE(AppendSimulationWithUncertainties(high, list));
    EXPECT_FALSE(AppendSingleSimulation(high, list));
    const std::string above = "The measured 26Al/10Be ratio 6.18 is above the production ratio 6.12: no burial "
                              "history can produce it.";
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"Please select a proxy curve file!",
                                                             "Please select an output file!", above, above}));
    EXPECT_TRUE(list.Lines().empty());
    EXPECT_EQ(list.m_nLineCount, 0);
    EXPECT_EQ(list.m_nResultCount, 0);
    EXPECT_FALSE(FileExists(dir.File("r.txt")));

    // A missing curve: each of the ten runs meets it; one press shows it once, and nothing vaguer after it.
    messages.Clear();
    {
        CMessageBatch batch;
        EXPECT_FALSE(AppendSimulationWithUncertainties(Inputs(dir.File("missing.dat"), dir.File("r.txt")), list));
    }
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"Can not find Proxy data file!"}));
}

// With an aerial erosion of 1 cm/kyr on the 31-point curve no history's 10Be
// reaches the measured value and the best one is pinned at the curve's end
// (600 kyr): both calculations say so once, after listing their block as always.
TEST(SimulationCalculation, ABestHistoryOffTheCurveIsSaidOnce)
{
    TempDir dir;
    SimulationInputs in = Inputs(WriteCurve(dir, "alternating.dat", AlternatingCurveText()), dir.File("r.txt"));
    in.aerialErosion = 1.0; // cm/kyr: saturation P / mu below the measured 10Be
    for (const bool single : {true, false}) {
        in.single = single;
        CResultList list;
        CMessageRecorder messages;
        ASSERT_TRUE(AppendSimulation(in, list));
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{kOffCurveMessage});
        EXPECT_EQ(list.Lines().at(5), "Total Age(kyr)        :   600.000   ");
        // Heading, seven result lines, the crossings (and the uncertainties' 15 lines).
        const auto crossings = static_cast<std::size_t>(ValueOf(list.Lines().at(7)));
        EXPECT_EQ(list.Lines().size(), 8u + crossings + (single ? 0u : 15u));
    }
}

TEST(SimulationCalculation, PerturbedRunsThatFailAreLeftOutOfTheRanges)
{
    TempDir dir;
    // 26Al raised by its uncertainty (6216000 + 1100000) lies above what
    // production allows even for the most 10Be: 7316000 / 1189000 = 6.153 >
    // 77.7 / 12.7 = 6.118. Those three runs fail without a message; the
    // ranges come from the other six.
    SimulationInputs in = Inputs(WriteCurve(dir, "alternating.dat", AlternatingCurveText()), dir.File("r.txt"));
    in.al26Error = 1100000.0;
    CResultList list;
    CMessageRecorder messages;
    ASSERT_TRUE(AppendSimulationWithUncertainties(in, list));
    EXPECT_TRUE(messages.Messages().empty());
    const Ranges separate = SeparateRanges(in, dir.File("separate.txt"));
    EXPECT_EQ(separate.runs, 6);
    ASSERT_EQ(list.Lines().size(), 51u);
    ExpectRanges(list.Lines(), 38, separate);
    EXPECT_EQ(list.Lines()[1], "Cut Value  :   3.36600   ");
}

} // namespace
} // namespace qex
