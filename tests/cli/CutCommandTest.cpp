// qexcli cut: the lines the cut results dialog lists, its exit status and its
// usage errors.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using test::RunQexcli;
using test::TempDir;
using test::WriteFile;

class CutCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_curve = m_dir.File("saw.dat");
        WriteFile(m_curve, "Proxy_Data Saw\n0 5.0\n10 3.0\n20 5.0\n30 3.0\n");
    }

    TempDir m_dir;
    std::string m_curve;
};

TEST_F(CutCommandTest, ACutByValuePrintsTheResultBlock)
{
    // Leaves the exposure side at 5, returns at 15; 7 years of exposure end at 17.
    const auto result = RunQexcli({"cut", "--proxy", m_curve, "--cut-value", "4", "--exposure-age", "7"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Calculation Result 1\n"
                          "Exposure Age(kyr)  :   0.007     \n"
                          "Bural Age(kyr)         :   0.010     \n"
                          "Total Age(kyr)         :   0.017     \n"
                          "Cut Value              :   4.000     \n"
                          "Intersect Numbers   :    2\n"
                          "Intersect year(kyr) 1:   0.005     \n"
                          "Intersect year(kyr) 2:   0.015     \n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CutCommandTest, NoValidResultOrAFailedLoadExitsOne)
{
    // Standard output keeps the one line scripts read; the reason goes to standard error.
    const auto atMaximum = RunQexcli({"cut", "--proxy", m_curve, "--cut-value", "5"});
    EXPECT_EQ(atMaximum.exitCode, 1);
    EXPECT_EQ(atMaximum.out, "Calculation doesn't have valid results\n\n");
    EXPECT_EQ(atMaximum.err, "Reason: 5 is the curve's maximum: a cut must lie below it\n");

    // The default cut age, 9700 years, lies beyond this 30-year curve.
    const auto outside = RunQexcli({"cut", "--proxy", m_curve});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(outside.out, "Calculation doesn't have valid results\n\n");
    EXPECT_EQ(outside.err, "The input year is out of the range of current proxy curve!\n"
                           "Reason: the year is beyond the curve's last year 30\n");

    const auto missing = RunQexcli({"cut", "--proxy", m_dir.File("none.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err,
              "Can not find Proxy data file!\n" + m_dir.File("none.dat") + ": No such file or directory\n");
}

TEST_F(CutCommandTest, UsageErrorsExitTwoWithNothingOnStandardOutput)
{
    const std::vector<std::vector<std::string>> usages = {
        {"cut", "--proxy", m_curve, "--cut-age", "10", "--cut-value", "4"},
        {"cut", "--cut-value", "4"},
        {"cut", "--proxy", m_curve, "--exposure-age", "1000000001"},
        {"cut", "--proxy", m_curve, "--cut-age", "100000001"},
        {"cut", "--proxy", m_curve, "--cut-value", "four"},
    };
    for (const auto& arguments : usages) {
        std::string command;
        for (const auto& argument : arguments)
            command += argument + " ";
        SCOPED_TRACE(command);
        const auto result = RunQexcli(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
    }
    const auto range = RunQexcli({"cut", "--proxy", m_curve, "--cut-age", "100000001"});
    EXPECT_NE(range.err.find("--cut-age"), std::string::npos);
    EXPECT_NE(range.err.find("0 to 100000000"), std::string::npos);
}

TEST(CutCommandExample, TheBundledLR04CurveGivesABlockWithTheDefaults)
{
    // LR04 at 9 ka is 3.38 and at 10 ka 3.52: year 9700 gives 3.478, and the
    // Holocene ends on the warm side at 9.7 ka. Exposure stretches 0-9.700,
    // 117.620-127.318, 236.958-237.200 and 238.457-240.380 ka hold 21.563 kyr;
    // the missing 3.437 kyr follow the crossing at 322.867 ka.
    const auto result =
        RunQexcli({"cut", "--proxy", test::SourceDir() + "/examples/proxy/LR04.dat"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Calculation Result 1\n"
                          "Exposure Age(kyr)  :   25.000    \n"
                          "Bural Age(kyr)         :   301.304   \n"
                          "Total Age(kyr)         :   326.304   \n"
                          "Cut Value              :   3.478     \n"
                          "Intersect Numbers   :    8\n"
                          "Intersect year(kyr) 1:   9.700     \n"
                          "Intersect year(kyr) 2:   117.620   \n"
                          "Intersect year(kyr) 3:   127.318   \n"
                          "Intersect year(kyr) 4:   236.958   \n"
                          "Intersect year(kyr) 5:   237.200   \n"
                          "Intersect year(kyr) 6:   238.457   \n"
                          "Intersect year(kyr) 7:   240.380   \n"
                          "Intersect year(kyr) 8:   322.867   \n");
}

} // namespace
} // namespace qex
