// qexcli batch: every calculator's batch row equals the single qexcli run of
// the same inputs; a failing row among good ones; the order with two threads.

#include "core/CsvTable.h"
#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/resource.h>

namespace qex {
namespace {

using test::ReadFile;
using test::RunQexcli;
using test::TempDir;
using test::WriteFile;

// The output file as rows of column name -> cell.
std::vector<std::map<std::string, std::string>> ReadOutput(const std::string& path)
{
    CsvTable table;
    std::string error;
    EXPECT_TRUE(ReadCsv(ReadFile(path), table, error)) << error;
    std::vector<std::map<std::string, std::string>> rows;
    for (std::size_t r = 1; r < table.records.size(); ++r) {
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < table.records[0].fields.size() && c < table.records[r].fields.size(); ++c)
            row[table.records[0].fields[c]] = table.records[r].fields[c];
        rows.push_back(row);
    }
    return rows;
}

// The value of the first line of a listed block that starts with the label;
// empty when the block has none (its cell is then empty too).
std::string ValueOf(const std::string& block, const std::string& label)
{
    const std::size_t at = block.find(label);
    if (at == std::string::npos)
        return std::string();
    const std::size_t colon = block.find(':', at);
    const std::size_t start = block.find_first_not_of(' ', colon + 1);
    const std::size_t end = block.find_last_not_of(' ', block.find('\n', start) - 1);
    return block.substr(start, end - start + 1);
}

struct CalculatorCase {
    std::string calculator;
    std::string csv; // two rows at least, with files relative to the CSV's folder (examples/)
    std::vector<std::vector<std::string>> single; // the same inputs as qexcli options, one list a row
    std::vector<std::pair<std::string, std::string>> compared; // result column, the block's line label
};

TEST(BatchCli, EveryCalculatorsRowEqualsItsSingleRun)
{
    // The bundled files in a folder of the test's own, where the CSV's relative paths lead.
    TempDir examplesCopy;
    const std::string examples = examplesCopy.Path();
    std::filesystem::copy(test::SourceDir() + "/examples", examples, std::filesystem::copy_options::recursive);
    const std::string lr04 = examples + "/proxy/LR04.dat";
    const std::vector<CalculatorCase> cases = {
        {"simulate",
         "sample,proxy,be10,al26,aerial-erosion,single\n"
         "a,proxy/LR04.dat,1165000,6216000,,\nb,proxy/LR04.dat,820000,4310000,0.2,on\n",
         {{"--proxy", lr04, "--report", "r.txt"},
          {"--proxy", lr04, "--report", "r.txt", "--be10", "820000", "--al26", "4310000", "--aerial-erosion", "0.2",
           "--single"}},
         {{"cut_value", "Cut Value"},
          {"ratio_diff_percent", "Ratio_diff(100%)"},
          {"exposure_kyr", "Exposure Age(kyr)"},
          {"burial_kyr", "Bural Age(kyr)"},
          {"total_kyr", "Total Age(kyr)"},
          {"ratio", "Al-Be Ratio"},
          {"crossings", "Intersect Numbers"},
          {"exposure_max_kyr", "Total Exposure Maximum"},
          {"ratio_diff_min_percent", "Ratio Difference Minimum"}}},
        {"cut",
         "sample,proxy,cut-value,exposure-age\na,proxy/LR04.dat,,\nb,proxy/LR04.dat,4.1,60000\n",
         {{"--proxy", lr04}, {"--proxy", lr04, "--cut-value", "4.1", "--exposure-age", "60000"}},
         {{"cut_value", "Cut Value"}, {"burial_kyr", "Bural Age(kyr)"}, {"total_kyr", "Total Age(kyr)"},
          {"crossings", "Intersect Numbers"}}},
        {"scaling",
         "sample,latitude,altitude,muon\na,35,1500,\nb,,3000,0.05\n",
         {{"--latitude", "35", "--altitude", "1500"}, {"--altitude", "3000", "--muon", "0.05"}},
         {{"stone_2000_factor", "Stone 2000"}, {"lal_1991_be_factor", "Lal 1991 Be"},
          {"lal_1991_al_factor", "Lal 1991 Al"}, {"dunai_2000_factor", "Dunai 2000"}}},
        {"thickness",
         "sample,thickness,density\na,5,2.6\nb,,\n",
         {{"--thickness", "5", "--density", "2.6"}, {}},
         {{"thickness_factor", "Factor"}}},
        {"slope-thickness",
         "sample,slope,thickness\na,30,3\nb,,\n",
         {{"--slope", "30", "--thickness", "3"}, {}},
         {{"slope_thickness_factor", "Factor"}}},
        {"shielding",
         "sample,horizon,dip,strike\na,100:30 200:10,10,40\nb,,,\n",
         {{"--point", "100,30", "--point", "200,10", "--dip", "10", "--strike", "40"}, {}},
         {{"shielding_factor", "Shielding Factor"}}},
        {"exposure",
         "sample,altitude,erosion,geomagnetic,pole,intensity\na,2000,0.0001,,,\n"
         "b,,,on,geomag/pole02.dat,geomag/pmagstack1.dat\n",
         {{"--altitude", "2000", "--erosion", "0.0001"},
          {"--geomagnetic", "--pole", examples + "/geomag/pole02.dat", "--intensity",
           examples + "/geomag/pmagstack1.dat", "--table", "omr.txt"}},
         {{"exposure_age_yr", "Exposure Age"}}},
    };
    for (const CalculatorCase& c : cases) {
        SCOPED_TRACE(c.calculator);
        TempDir dir;
        const std::string csv = examples + "/" + c.calculator + "-test.csv";
        WriteFile(csv, c.csv);
        // With the list's digits, a row's cells are its single run's.
        const auto batch = RunQexcli({"batch", c.calculator, "--input", csv, "--output", dir.File("out.csv"),
                                      "--threads", "2", "--digits", "list"});
        ASSERT_EQ(batch.exitCode, 0) << batch.err;
        const auto rows = ReadOutput(dir.File("out.csv"));
        ASSERT_EQ(rows.size(), c.single.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::vector<std::string> arguments = {c.calculator};
            arguments.insert(arguments.end(), c.single[r].begin(), c.single[r].end());
            const auto single = RunQexcli(arguments, dir.Path());
            ASSERT_EQ(single.exitCode, 0) << single.err;
            for (const auto& [column, label] : c.compared)
                EXPECT_EQ(rows[r].at(column), ValueOf(single.out, label)) << "row " << r << ", " << column;
            EXPECT_EQ(rows[r].at("error"), "");
        }
    }
}

TEST(BatchCli, ASimulationRowsReportIsTheSingleRunsReport)
{
    TempDir dir;
    const std::string lr04 = test::SourceDir() + "/examples/proxy/LR04.dat";
    WriteFile(dir.File("in.csv"), "sample,proxy\nM/1," + lr04 + "\nM/1," + lr04 + "\n");
    const auto batch = RunQexcli({"batch", "simulate", "--input", dir.File("in.csv"), "--output",
                                  dir.File("out.csv"), "--report-dir", dir.File("reports")});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    ASSERT_EQ(RunQexcli({"simulate", "--proxy", lr04, "--report", dir.File("single.txt")}).exitCode, 0);
    // A name made safe for a file, and the second of the same name numbered.
    EXPECT_EQ(ReadFile(dir.File("reports/M_1-report.txt")), ReadFile(dir.File("single.txt")));
    EXPECT_EQ(ReadFile(dir.File("reports/M_1-2-report.txt")), ReadFile(dir.File("single.txt")));
}

TEST(BatchCli, MonteCarloColumnsCarryTheSingleRunsBlock)
{
    TempDir dir;
    const std::string lr04 = test::SourceDir() + "/examples/proxy/LR04.dat";
    // The option stands in for a missing cell; a row's own cell wins.
    WriteFile(dir.File("in.csv"), "sample,proxy,monte-carlo\ndrawn," + lr04 + ",\nnone," + lr04 + ",0\n");
    const auto batch = RunQexcli({"batch", "simulate", "--input", dir.File("in.csv"), "--output",
                                  dir.File("out.csv"), "--monte-carlo", "20", "--seed", "7", "--threads", "2",
                                  "--digits", "list"});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    const auto rows = ReadOutput(dir.File("out.csv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("mc_draws"), "20");
    EXPECT_EQ(rows[1].at("mc_draws"), "");

    const auto single = RunQexcli({"simulate", "--proxy", lr04, "--report", dir.File("r.txt"), "--monte-carlo",
                                   "20", "--seed", "7"});
    ASSERT_EQ(single.exitCode, 0) << single.err;
    const std::string block = single.out.substr(single.out.find("Monte Carlo (20 draws, seed 7)"));
    for (const auto& [label, column] : {std::pair<std::string, std::string>{"Cut Value", "cut_value"},
                                        {"Exposure Age(kyr)", "exposure_kyr"},
                                        {"Total Age(kyr)", "total_kyr"}}) {
        // "NAME :   median M  -A +B  95% [L, H]  mean X  sd S"
        const std::string line = block.substr(block.find(label), block.find('\n', block.find(label)) - block.find(label));
        char median[32], low[32], high[32], mean[32], sd[32];
        ASSERT_EQ(std::sscanf(line.c_str() + line.find("median"), "median %31s -%*s +%*s 95%% [%31[^,], %31[^]]] mean %31s sd %31s",
                              median, low, high, mean, sd),
                  5)
            << line;
        EXPECT_EQ(rows[0].at("mc_" + column + "_median"), median) << label;
        EXPECT_EQ(rows[0].at("mc_" + column + "_p2_5"), low) << label;
        EXPECT_EQ(rows[0].at("mc_" + column + "_p97_5"), high) << label;
        EXPECT_EQ(rows[0].at("mc_" + column + "_mean"), mean) << label;
        EXPECT_EQ(rows[0].at("mc_" + column + "_sd"), sd) << label;
    }

    // Draws belong to simulations alone.
    WriteFile(dir.File("cut.csv"), "sample,proxy\na," + lr04 + "\n");
    const auto cut = RunQexcli({"batch", "cut", "--input", dir.File("cut.csv"), "--output", dir.File("x.csv"),
                                "--monte-carlo", "20"});
    EXPECT_NE(cut.err.find("apply to simulate only"), std::string::npos) << cut.err;
    EXPECT_EQ(cut.exitCode, 2);
    EXPECT_FALSE(test::FileExists(dir.File("x.csv")));
}

TEST(BatchCli, AFailingRowIsReportedAndTheOthersAreWritten)
{
    TempDir dir;
    WriteFile(dir.File("in.csv"), "sample,proxy,cut-value\ngood,LR04.dat,3.7\nlost,missing.dat,\n"
                                  "bad,LR04.dat,abc\nalso good,LR04.dat,\n");
    WriteFile(dir.File("LR04.dat"), ReadFile(test::SourceDir() + "/examples/proxy/LR04.dat"));
    const auto batch = RunQexcli({"batch", "cut", "--input", dir.File("in.csv"), "--output", dir.File("out.csv")});
    EXPECT_EQ(batch.exitCode, 1);
    const auto rows = ReadOutput(dir.File("out.csv"));
    ASSERT_EQ(rows.size(), 4u);
    // Cells carry the numbers whole: the cut value as typed, LR04's value at 9700 yr beyond the list's 3.478.
    EXPECT_EQ(rows[0].at("cut_value"), "3.7");
    EXPECT_NEAR(std::stod(rows[3].at("cut_value")), 3.478, 5e-4);
    EXPECT_GT(rows[3].at("cut_value").size(), std::string("3.478").size());
    EXPECT_EQ(rows[1].at("cut_value"), "");
    EXPECT_NE(rows[1].at("error").find("Can not find Proxy data file!"), std::string::npos);
    EXPECT_EQ(rows[2].at("error"), "cut-value: 'abc' is not a number");
    EXPECT_EQ(rows[2].at("cut-value"), "abc");
    EXPECT_NE(batch.err.find("line 3 (lost): Can not find Proxy data file!"), std::string::npos);
    EXPECT_NE(batch.err.find("line 4 (bad): cut-value: 'abc' is not a number"), std::string::npos);

    // The file itself unusable: exit 2, the column named, nothing written.
    WriteFile(dir.File("in.csv"), "sample,proxy,cut-valeu\n");
    const auto unknown = RunQexcli({"batch", "cut", "--input", dir.File("in.csv"), "--output", dir.File("x.csv")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown column 'cut-valeu'"), std::string::npos);
    EXPECT_FALSE(test::FileExists(dir.File("x.csv")));
}

TEST(BatchCli, AnOutputNeverReplacesAFileTheRowsRead)
{
    TempDir dir;
    for (const char* record : {"pole02.dat", "pmagstack1.dat"})
        std::filesystem::copy(test::SourceDir() + "/examples/geomag/" + record, dir.File(record));
    WriteFile(dir.File("e.csv"), "sample,concentration,geomagnetic\nA,2139000,on\n");
    WriteFile(dir.File("S-report.txt"), ReadFile(test::SourceDir() + "/examples/proxy/LR04.dat"));
    WriteFile(dir.File("s.csv"), "sample,proxy\nS,S-report.txt\n");
    const std::vector<std::vector<std::string>> cases = {
        {"exposure", "--input", "e.csv", "--output", "pole02.dat"}, // read by default: no pole cell
        {"exposure", "--input", "e.csv", "--output", "./pmagstack1.dat"},
        {"simulate", "--input", "s.csv", "--output", "S-report.txt"},
        {"simulate", "--input", "s.csv", "--output", "out.csv", "--report-dir", "."}, // S's report is its curve
    };
    const std::string pole = ReadFile(dir.File("pole02.dat"));
    const std::string curve = ReadFile(dir.File("S-report.txt"));
    for (const auto& args : cases) {
        std::vector<std::string> batch = {"batch"};
        batch.insert(batch.end(), args.begin(), args.end());
        const auto run = RunQexcli(batch, dir.Path());
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_NE(run.err.find("names the same file as"), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadFile(dir.File("pole02.dat")), pole);
    EXPECT_EQ(ReadFile(dir.File("S-report.txt")), curve);
    EXPECT_FALSE(test::FileExists(dir.File("out.csv")));
}

// Each report goes to disk as its row ends, one file open at a time: far
// more rows with reports than the process may open files.
TEST(BatchCli, ManyReportsNeedOneOpenFileAtATime)
{
    TempDir dir;
    std::string curve = "Proxy_Data\nAlternating\n";
    for (int i = 0; i <= 30; ++i)
        curve += std::to_string(i * 20000) + (i % 2 == 0 ? " 3.0\n" : " 5.0\n");
    WriteFile(dir.File("curve.dat"), curve);
    std::string csv = "sample,proxy,single\n";
    for (int i = 0; i < 120; ++i)
        csv += "s" + std::to_string(i) + ",curve.dat,on\n";
    WriteFile(dir.File("in.csv"), csv);
    const auto run = RunQexcli({"batch", "simulate", "--input", "in.csv", "--output", "out.csv", "--report-dir",
                                "reports"},
                               dir.Path(), [] {
                                   const rlimit few{40, 40};
                                   ::setrlimit(RLIMIT_NOFILE, &few);
                               });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::size_t reports = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.File("reports")))
        ++reports;
    EXPECT_EQ(reports, 120u);
    EXPECT_EQ(ReadOutput(dir.File("out.csv")).size(), 120u);
}

TEST(BatchCli, TwoThreadsKeepTheInputOrder)
{
    // Slow simulations and quick failures interleaved: rows finish out of order.
    TempDir dir;
    const std::string lr04 = test::SourceDir() + "/examples/proxy/LR04.dat";
    std::string csv = "sample,proxy,be10\n";
    for (int i = 0; i < 12; ++i)
        csv += "s" + std::to_string(i) + "," + (i % 3 == 0 ? lr04 : dir.File("none.dat")) + "," +
               std::to_string(1100000 + 10000 * i) + "\n";
    WriteFile(dir.File("in.csv"), csv);
    const auto batch = RunQexcli({"batch", "simulate", "--input", dir.File("in.csv"), "--output",
                                  dir.File("out.csv"), "--threads", "2"});
    EXPECT_EQ(batch.exitCode, 1);
    const auto rows = ReadOutput(dir.File("out.csv"));
    ASSERT_EQ(rows.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(rows[i].at("sample"), "s" + std::to_string(i));
        EXPECT_EQ(rows[i].at("be10"), std::to_string(1100000 + 10000 * i));
        EXPECT_EQ(rows[i].at("error").empty(), i % 3 == 0);
    }
}

} // namespace
} // namespace qex
