// qexcli simulate --table: the central run's per-cut-value table and best
// pairs as CSV, row for row what the report lists, and a table path that
// cannot be written.

#include "tests/cli/RunQexcli.h"
#include "tests/core/SimulationTestCurves.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <sstream>

namespace qex {
namespace {

using test::ReadFile;
using test::RunQexcli;
using test::TempDir;

std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& wanted)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == wanted)
            return i;
    return lines.size();
}

TEST(SimulateTable, CsvRowsAreTheReportRowsAndPairs)
{
    TempDir dir;
    const std::string curve = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    const auto result = RunQexcli({"simulate", "--proxy", curve, "--report", dir.File("report.txt"), "--single",
                                   "--table", dir.File("table.csv")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Calculation Result 1\nCut Value  :   3.36600   \n", 0), 0u);

    const auto report = Lines(ReadFile(dir.File("report.txt")));
    const auto csv = Lines(ReadFile(dir.File("table.csv")));
    const std::size_t header = IndexOf(report, "Cut_value,  Cal_ratio, ABS_diff, First_cut_age, Exp_age, Burial_age");
    ASSERT_LT(header + 998, report.size());
    ASSERT_EQ(csv.size(), 1u + 998u + 1u + 1u + 29u);

    // Each CSV row, rounded as the report prints it, is the report's row.
    for (std::size_t k = 1; k <= 998; ++k) {
        double v[6];
        ASSERT_EQ(std::sscanf(csv[k].c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]),
                  6)
            << csv[k];
        char line[160];
        std::snprintf(line, sizeof line, "%10.3f, %10.3f, %10.3f, %10.0f, %10.0f, %12.0f", v[0], v[1], v[2], v[3],
                      v[4], v[5]);
        ASSERT_EQ(line, report[header + k]) << "cut value " << k;
    }

    // Whether each history's 10Be matched: not the first (600 yr of exposure
    // give some 7600 atoms/g of the 1165000), the best one (cut 3.366) did.
    EXPECT_EQ(csv[0], "cut_value,calculated_ratio,abs_diff_percent,first_cut_age_yr,exposure_yr,burial_yr,matched,lower_limit");
    EXPECT_EQ(csv[1].substr(csv[1].rfind(',') - 2, 2), ",0");
    EXPECT_EQ(csv[183].rfind("3.366,", 0), 0u);
    EXPECT_EQ(csv[183].substr(csv[183].rfind(',') - 2, 2), ",1");

    // The pairs, oldest first, as the best-fit section lists them.
    const std::size_t pairs = IndexOf(report, "       BeN,     AlN,    Ratio");
    ASSERT_EQ(report[pairs - 1], "Number of BeN-R pair: 29");
    EXPECT_EQ(csv[1000], "pair,be10_atoms_per_g,al26_atoms_per_g,ratio");
    for (std::size_t i = 0; i < 29; ++i) {
        int number = 0;
        double be = 0, al = 0, ratio = 0;
        ASSERT_EQ(std::sscanf(csv[1001 + i].c_str(), "%d,%lf,%lf,%lf", &number, &be, &al, &ratio), 4);
        EXPECT_EQ(number, static_cast<int>(i + 1));
        char line[80];
        std::snprintf(line, sizeof line, "%12.0f, %12.0f, %10.2f", be, al, ratio);
        EXPECT_EQ(line, report[pairs + 1 + i]);
    }
    // The worked example's first and last pairs.
    EXPECT_EQ(report[pairs + 1], "       70036,       427878,       6.11");
    EXPECT_EQ(report[pairs + 29], "     1165000,      6218170,       5.34");
}

TEST(SimulateTable, ATablePathThatCannotBeWrittenStopsBeforeTheCalculation)
{
    TempDir dir;
    const std::string curve = test::WriteCurve(dir, "alternating.dat", test::AlternatingCurveText());
    const auto result = RunQexcli({"simulate", "--proxy", curve, "--report", dir.File("report.txt"), "--table",
                                   dir.File("missing/table.csv")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Can not write the table file!\n" + dir.File("missing/table.csv") +
                              ": No such file or directory\n");
    EXPECT_FALSE(test::FileExists(dir.File("report.txt")));
}

} // namespace
} // namespace qex
