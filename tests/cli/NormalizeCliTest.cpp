// qexcli normalize on files.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

using namespace test;

TEST(CliNormalize, WritesTheNormalisedCurveAndMayReplaceItsInput)
{
    TempDir dir;
    const std::string input = dir.File("in.dat");
    WriteFile(input, "Geomagnetic_Intensity_Data\r\nStack\r\n0 1.0\r\n1000 0.8\r\n");
    const auto result = RunQexcli({"normalize", input, input});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadFile(input), "Geomagnetic_Intensity_Data\nStack\n"
                               "       0.0      1.000\n     500.0      0.900\n    1000.0      0.800\n");
}

TEST(CliNormalize, AFailedLoadWritesNothingAndExitsOne)
{
    TempDir dir;
    const std::string input = dir.File("in.dat");
    const std::string output = dir.File("out.dat");
    WriteFile(input, "Proxy_Data\nLR04\n0 3.2\n");
    WriteFile(output, "keep me\n");
    const auto result = RunQexcli({"normalize", input, output});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Geomagnetic Intensity file is not correct!"), std::string::npos);
    EXPECT_EQ(ReadFile(output), "keep me\n");
    EXPECT_EQ(RunQexcli({"normalize", input}).exitCode, 2);
}

} // namespace
} // namespace qex
