// qexcli exposure on the bundled geomagnetic records.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using namespace test;

double AgeOf(const std::string& out)
{
    const std::string head = "Calculation Result 1\nExposure Age:   ";
    if (out.compare(0, head.size(), head) != 0)
        return -1;
    return std::stod(out.substr(head.size()));
}

TEST(CliExposure, TheDefaultSampleIsAbout541000YearsOld)
{
    const auto result = RunQexcli({"exposure"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NEAR(AgeOf(result.out), 540929.3, 0.05);
    EXPECT_EQ(result.out.back(), '\n');
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2);
}

TEST(CliExposure, TheGeomagneticCorrectionReadsTheRecordsAndWritesTheTable)
{
    TempDir dir;
    const std::string examples = SourceDir() + "/examples/geomag/";
    const auto result = RunQexcli({"exposure", "--geomagnetic", "--pole", examples + "pole02.dat", "--intensity",
                                   examples + "pmagstack1.dat", "--table", "omr.txt"},
                                  dir.Path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const double age = AgeOf(result.out);
    EXPECT_GT(age, 0);
    EXPECT_GT(std::abs(age - 540929.3), 1000);
    EXPECT_TRUE(FileExists(dir.File("omr.txt")));
}

TEST(CliExposure, MissingRecordsOrAnImpossibleSampleExitOneWithNothingPrinted)
{
    TempDir dir;
    const auto missing = RunQexcli({"exposure", "--geomagnetic"}, dir.Path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("Can not find Geomagnetic Pole file!"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("omr.txt")));
    const auto saturated = RunQexcli({"exposure", "--concentration", "1e9"});
    EXPECT_EQ(saturated.exitCode, 1);
    EXPECT_EQ(saturated.out, "");
    EXPECT_EQ(RunQexcli({"exposure", "--latitude", "91"}).exitCode, 2);
}

} // namespace
} // namespace qex
