// qexcli simulate end to end: the worked example's single calculation, the
// calculation with uncertainties on the bundled LR04 curve, usage errors and
// failures.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace qex {
namespace {

using test::ReadFile;
using test::RunQexcli;
using test::TempDir;

std::string AlternatingCurve(const TempDir& dir)
{
    std::string text = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        text += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    const std::string path = dir.File("alternating.dat");
    test::WriteFile(path, text);
    return path;
}

TEST(SimulateCommand, SingleCalculationPrintsTheBlockAndWritesTheReport)
{
    TempDir dir;
    const auto result =
        RunQexcli({"simulate", "--proxy", AlternatingCurve(dir), "--report", dir.File("report.txt"), "--single"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    std::string expected = "Calculation Result 1\n"
                           "Cut Value  :   3.36600   \n"
                           "Ratio_diff(100%) :   0.035     \n"
                           "Exposure Age(kyr)  :   104.342   \n"
                           "Bural Age(kyr)         :   457.520   \n"
                           "Total Age(kyr)        :   561.862   \n"
                           "Al-Be Ratio              :   5.337     \n"
                           "Intersect Numbers   :    28\n";
    // Crossings 3.66 kyr either side of every 3.0 point from 40 kyr on.
    char line[64];
    for (int i = 1; i <= 28; ++i) {
        const int m = (i - 1) / 2;
        std::snprintf(line, sizeof line, "Intersect year(kyr) %d:   %-10.3f\n", i,
                      i % 2 == 1 ? 40.0 * m + 3.66 : 40.0 * (m + 1) - 3.66);
        expected += line;
    }
    EXPECT_EQ(result.out, expected);
    const std::string report = ReadFile(dir.File("report.txt"));
    EXPECT_NE(report.find("     3.002,      5.302,      0.623,         20,        600,       599400\n"),
              std::string::npos);
    EXPECT_NE(report.find("Total year: 561861.655\n"), std::string::npos);
}

TEST(SimulateCommand, Lr04WithTheDefaultSampleGivesTheMeanAndUncertaintyBlock)
{
    TempDir dir;
    const auto result = RunQexcli({"simulate", "--proxy", test::SourceDir() + "/examples/proxy/LR04.dat", "--report",
                                   dir.File("report.txt")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.rfind("Calculation Results 1: Mean Value\nCut Value  :   3.72580   \n", 0), 0u);
    EXPECT_NE(result.out.find("\nIntersect Numbers   :    28\n"), std::string::npos);
    // Exposure removed at a history's old end exactly (ln(1 + x) / mu) moves the
    // last digits of the nine runs' ranges, not the central block.
    EXPECT_NE(result.out.find("\n\n\nCalculation Results 1: Uncertainties\n"
                              "Total Exposure Minimum  :   97.76480  \nTotal Exposure Maximum  :   111.95684 \n"),
              std::string::npos);
    EXPECT_NE(result.out.find("\nRatio Difference Maximum  :   0.04792   \n"), std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.size() - 2), "\n\n");
    // 1 + 7 + 28 + 1 + 1 + 12 + 1 list lines, the two line-feed lines saved as two line ends each.
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 53);
    EXPECT_NE(ReadFile(dir.File("report.txt")).find("Cut Value:    3.72580\nRatio_Diff(*100):"), std::string::npos);
}

// The half-lives and the orientation of the curve are options; a best
// history pinned at the curve's end is said on standard error, exit 0.
TEST(SimulateCommand, HalfLivesOrientationAndAnUnmatchedHistoryReachTheUser)
{
    TempDir dir;
    const std::string curve = AlternatingCurve(dir);
    const std::vector<std::string> single = {"simulate", "--single", "--proxy", curve, "--report", dir.File("r.txt")};
    const std::string today = "Half-life 10Be(yr)  :   1387000\nHalf-life 26Al(yr)  :   705000\n";
    auto with = [](std::vector<std::string> args, std::initializer_list<std::string> more) {
        args.insert(args.end(), more);
        return args;
    };

    // Erosion keeps every history's 10Be below the measured value.
    const auto off = RunQexcli(with(single, {"--aerial-erosion", "1"}));
    EXPECT_EQ(off.exitCode, 0);
    EXPECT_EQ(off.err, "No history on this curve matches the measured 10Be: the curve is too short, or erosion keeps "
                       "the 10Be below the measured value. The ages listed are those of the whole curve.\n");
    EXPECT_NE(off.out.find("Total Age(kyr)        :   600.000   \n"), std::string::npos);

    for (const auto& args : {with(single, {"--be10-half-life", "1387000", "--al26-half-life", "705000"}),
                             std::vector<std::string>{"exposure", "--be10-half-life", "1387000", "--al26-half-life",
                                                      "705000"}}) {
        const auto run = RunQexcli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        ASSERT_GT(run.out.size(), today.size());
        EXPECT_EQ(run.out.substr(run.out.size() - today.size()), today);
    }

    const std::string edc = test::SourceDir() + "/examples/proxy/EDC-dD.dat";
    const auto cut = RunQexcli({"cut", "--proxy", edc, "--exposure-above-cut", "--cut-value", "-400"});
    EXPECT_EQ(cut.exitCode, 0) << cut.err;
    EXPECT_NE(cut.out.find("\nCut Value              :   -400.000  \n"), std::string::npos);
}

TEST(SimulateCommand, OptionsOutsideTheirRangesOrMissingAreUsageErrors)
{
    TempDir dir;
    const std::string curve = AlternatingCurve(dir);
    const auto freePath =
        RunQexcli({"simulate", "--proxy", curve, "--report", dir.File("r.txt"), "--free-path", "600"});
    EXPECT_EQ(freePath.exitCode, 2);
    EXPECT_NE(freePath.err.find("--free-path"), std::string::npos);
    EXPECT_NE(freePath.err.find("100 to 500"), std::string::npos);
    EXPECT_EQ(RunQexcli({"simulate", "--proxy", curve}).exitCode, 2);
    EXPECT_EQ(RunQexcli({"simulate", "--report", dir.File("r.txt")}).exitCode, 2);
    EXPECT_EQ(RunQexcli({"simulate", "--proxy", curve, "--report", dir.File("r.txt"), "--be10-production", "-1"})
                  .exitCode,
              2);
    EXPECT_FALSE(test::FileExists(dir.File("r.txt")));
    const auto help = RunQexcli({"simulate", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--glacial-erosion"), std::string::npos);
    EXPECT_NE(help.out.find("cm/kyr"), std::string::npos);
}

TEST(SimulateCommand, AFailedCalculationExitsOneWithItsMessages)
{
    TempDir dir;
    const auto missing =
        RunQexcli({"simulate", "--proxy", dir.File("missing.dat"), "--report", dir.File("r.txt"), "--single"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Can not find Proxy data file!\n" + dir.File("missing.dat") +
                               ": No such file or directory\n");
    // A measured ratio above the production ratio: no run has a history, and the calculation says why.
    const auto ratio = RunQexcli({"simulate", "--proxy", AlternatingCurve(dir), "--report", dir.File("r.txt"),
                                  "--al26", "8000000"});
    EXPECT_EQ(ratio.exitCode, 1);
    EXPECT_EQ(ratio.out, "");
    EXPECT_EQ(ratio.err, "The measured 26Al/10Be ratio 6.87 is above the production ratio 6.12: no burial history "
                         "can produce it.\n");
    EXPECT_FALSE(test::FileExists(dir.File("r.txt")));
}

} // namespace
} // namespace qex
