// qexcli scaling and qexcli world-table end to end: the dialog's block on
// standard output, the table file, ranges and failures.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using test::ReadFile;
using test::RunQexcli;
using test::TempDir;

std::size_t LineCount(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += c == '\n';
    return count;
}

// The last line of a text that ends with a line end, without it.
std::string LastLine(const std::string& text)
{
    const std::string body = text.substr(0, text.size() - 1);
    return body.substr(body.rfind('\n') + 1);
}

TEST(CliScaling, DefaultsPrintThePublishedBlock)
{
    const auto result = RunQexcli({"scaling"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Calculation Result 1\n"
                          "Latitude:   60.000000\n"
                          "Altitude:   0.000000\n"
                          "Muon contribution:   0.026000\n"
                          "Stone 2000:   1.002078\n"
                          "Lal 1991 Be:   1.000000\n"
                          "Lal 1991 Al:   1.000000\n"
                          "Dunai 2000:   0.990776\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliScaling, ASecondSiteAndOutOfRangeValues)
{
    const auto result = RunQexcli({"scaling", "--latitude", "35", "--altitude", "1500", "--muon", "0.026"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("Stone 2000:   2.848175\nLal 1991 Be:   2.702531\nLal 1991 Al:   2.681141\n"
                              "Dunai 2000:   2.635942\n"),
              std::string::npos);

    const auto refused = RunQexcli({"scaling", "--muon", "abc"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "--muon: 'abc' is not a number\nRun with --help for more information.\n");
    const auto help = RunQexcli({"scaling", "--help"});
    EXPECT_NE(help.out.find("range 0 to 0.3"), std::string::npos);
}

TEST(CliScaling, ASouthernSiteHasTheFactorsOfItsNorthernMirror)
{
    // The published 35 degrees, 1500 m factors; the latitude line as typed.
    const auto result = RunQexcli({"scaling", "--latitude", "-35", "--altitude", "1500"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Calculation Result 1\n"
                          "Latitude:   -35.000000\n"
                          "Altitude:   1500.000000\n"
                          "Muon contribution:   0.026000\n"
                          "Stone 2000:   2.848175\n"
                          "Lal 1991 Be:   2.702531\n"
                          "Lal 1991 Al:   2.681141\n"
                          "Dunai 2000:   2.635942\n");
    EXPECT_EQ(RunQexcli({"scaling", "--latitude", "-90.5"}).exitCode, 2);
}

TEST(CliWorldTable, DefaultsWriteTheNinetyRowTableSilently)
{
    TempDir dir;
    const auto result = RunQexcli({"world-table", "--output", "t.txt"}, dir.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    const std::string text = ReadFile(dir.File("t.txt"));
    EXPECT_EQ(LineCount(text), 13u + 90u);
    EXPECT_NE(text.find("Latitude,  Altitude,  Stone2000,  Lal1991Be,  Lal1991Al,  Dunai2000,  Diff_SL,  Diff_SD,  "
                        "Diff_LD,  Max_Diff,  Percent_S\n    0.00,      0.00,     0.5873,     0.5858,     0.5855,     "
                        "0.5584,   0.0015,   0.0289,   0.0274,    0.0289,       4.92\n"),
              std::string::npos);
    EXPECT_EQ(LastLine(text), "   90.00,   8000.00,    98.9192,    88.0360,    86.4404,   172.3667,  10.8832,  "
                              "73.4475,  84.3306,   84.3306,      85.25");
}

TEST(CliWorldTable, OptionsShapeTheGridAndProgressGoesToStandardError)
{
    TempDir dir;
    const auto result = RunQexcli({"world-table", "--output", dir.File("t.txt"), "--start-lat", "-20", "--end-lat",
                                   "-80", "--lat-interval", "30", "--start-alt", "100", "--end-alt", "100",
                                   "--alt-interval", "5", "--muon", "1", "--progress"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("100%"), std::string::npos) << result.err;
    const std::string text = ReadFile(dir.File("t.txt"));
    EXPECT_NE(text.find("Start Latitude    =   -80.00\nEnd   Latitude    =   -20.00\nLatitude Interval =    30.00\n"
                        "Start Altitude    =   100.00\nEnd   Altitude    =   100.00\nAltitude Interval =     5.00\n"
                        "Muon Contribution =   1.0000\n"),
              std::string::npos);
    EXPECT_EQ(LineCount(text), 13u + 3u); // -80, -50, -20 at 100 m
}

TEST(CliWorldTable, MissingOutputBadRangesAndUnwritablePaths)
{
    TempDir dir;
    EXPECT_EQ(RunQexcli({"world-table"}, dir.Path()).exitCode, 2);
    const auto zeroStep = RunQexcli({"world-table", "--output", "t.txt", "--lat-interval", "0"}, dir.Path());
    EXPECT_EQ(zeroStep.exitCode, 2);
    EXPECT_NE(zeroStep.err.find("--lat-interval"), std::string::npos);
    EXPECT_EQ(RunQexcli({"world-table", "--output", "t.txt", "--end-lat", "90.5"}, dir.Path()).exitCode, 2);
    EXPECT_EQ(RunQexcli({"world-table", "--output", "t.txt", "--muon", "1.5"}, dir.Path()).exitCode, 2);
    EXPECT_FALSE(test::FileExists(dir.File("t.txt")));

    const auto unwritable = RunQexcli({"world-table", "--output", dir.File("no/such/folder/t.txt")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("Can not find Output file!"), std::string::npos);
}

} // namespace
} // namespace qex
