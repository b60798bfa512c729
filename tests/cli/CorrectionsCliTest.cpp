// qexcli thickness, slope-thickness and shielding: the dialogs' blocks on
// standard output, the ranges as usage errors, horizon files.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using test::RunQexcli;

TEST(ThicknessCli, PrintsTheDialogsBlock)
{
    const auto defaults = RunQexcli({"thickness"});
    EXPECT_EQ(defaults.exitCode, 0);
    EXPECT_EQ(defaults.out, "Calculation Result 1\nDensity:   2.750000\nFreePath:   150.000000\n"
                            "Thickness:   2.000000\nFactor:   0.981889\n");
    EXPECT_EQ(defaults.err, "");

    const auto thick = RunQexcli({"thickness", "--thickness", "100"});
    EXPECT_EQ(thick.exitCode, 0);
    EXPECT_NE(thick.out.find("Thickness:   100.000000\nFactor:   0.458247\n"), std::string::npos);

    const auto outside = RunQexcli({"thickness", "--density", "10001"});
    EXPECT_EQ(outside.exitCode, 2);
    EXPECT_NE(outside.err.find("--density"), std::string::npos);
    EXPECT_EQ(outside.out, "");
}

TEST(SlopeThicknessCli, PrintsTheDialogsBlockAndKeepsItsOwnDensityRange)
{
    const auto sloped = RunQexcli({"slope-thickness", "--slope", "30", "--strike", "120"});
    EXPECT_EQ(sloped.exitCode, 0);
    EXPECT_EQ(sloped.out, "Calculation Result 1\nDensity:   2.750000\nFreePath:   150.000000\n"
                          "Thickness:   2.000000\nSlope:   30.000000\nFactor:   0.950715\n");
    EXPECT_EQ(RunQexcli({"slope-thickness", "--density", "1001"}).exitCode, 2);
    EXPECT_EQ(RunQexcli({"slope-thickness", "--strike", "361"}).exitCode, 2);
}

TEST(ShieldingCli, PointsInTheOrderGiven)
{
    const auto one = RunQexcli({"shielding", "--point", "100,30"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, "Calculation Result 1\nShielding Factor:  0.898468\n");

    const auto two = RunQexcli({"shielding", "--point", "270,20", "--point", "90 20"});
    EXPECT_EQ(two.out, "Calculation Result 1\nShielding Factor:  0.971002\n");
    EXPECT_EQ(RunQexcli({"shielding", "--dip", "30"}).out, "Calculation Result 1\nShielding Factor:  0.977434\n");
}

TEST(ShieldingCli, APointOutOfRangeIsAUsageErrorNamingIt)
{
    const auto far = RunQexcli({"shielding", "--point", "100,30", "--point", "400,30"});
    EXPECT_EQ(far.exitCode, 2);
    EXPECT_NE(far.err.find("400,30"), std::string::npos) << far.err;
    EXPECT_NE(far.err.find("0 to 360"), std::string::npos) << far.err;
    EXPECT_EQ(far.out, "");

    EXPECT_EQ(RunQexcli({"shielding", "--point", "100,91"}).exitCode, 2);
    EXPECT_EQ(RunQexcli({"shielding", "--point", "100"}).exitCode, 2);
    EXPECT_EQ(RunQexcli({"shielding", "--dip", "91"}).exitCode, 2);
}

TEST(ShieldingCli, ReadsAHorizonFile)
{
    test::TempDir dir;
    test::WriteFile(dir.File("ridge.txt"), "# azimuth angle\n45 20\n135,20   # saddle\n\n225 , 20\n");
    const auto file = RunQexcli({"shielding", "--horizon-file", "ridge.txt", "--point", "315,20"}, dir.Path());
    EXPECT_EQ(file.exitCode, 0) << file.err;
    EXPECT_EQ(file.out, "Calculation Result 1\nShielding Factor:  0.971002\n");

    test::WriteFile(dir.File("bad.txt"), "45 20\n135 200\n");
    const auto bad = RunQexcli({"shielding", "--horizon-file", "bad.txt"}, dir.Path());
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
    EXPECT_EQ(bad.out, "");

    const auto missing = RunQexcli({"shielding", "--horizon-file", "missing.txt"}, dir.Path());
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("Can not open horizon file missing.txt!"), std::string::npos) << missing.err;
}

} // namespace
} // namespace qex
