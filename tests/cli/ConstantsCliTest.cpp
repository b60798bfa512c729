// qexcli with today's constants, AMS standards, 26Al, the atmospheres, the
// erosion rate and the site production of the simulation: the lines a paper
// cites, the names of what made them, and the choices that are refused.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>
#include <sstream>

namespace qex {
namespace {

using namespace test;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const std::vector<std::string> kPhOne = {"exposure",        "--latitude",    "41.3567", "--altitude",
                                         "91",              "--thickness",   "4.5",     "--density",
                                         "2.65",            "--shield",      "1",       "--erosion",
                                         "0.00008",         "--concentration", "123453", "--concentration-err",
                                         "3717",            "--be10-standard", "knstd", "--constants",
                                         "current",         "--uncertainties"};

TEST(CliConstants, PhOneListsItsAgeUncertaintiesAndTheConstantsThatMadeThem)
{
    const auto result = RunQexcli(kPhOne);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 8u) << result.out;
    EXPECT_EQ(lines[0], "Calculation Result 1");
    // Published: 28,196 yr, internal 871, external 2446 (Balco et al. 2008).
    const struct {
        std::string label;
        double value, tolerance;
    } numbers[] = {{"Exposure Age:   ", 28196.0, 0.03},
                   {"Internal uncertainty:   ", 871.0, 0.03},
                   {"External uncertainty:   ", 2446.0, 0.08}};
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(lines[i + 1].rfind(numbers[i].label, 0), 0u) << lines[i + 1];
        EXPECT_NEAR(std::stod(lines[i + 1].substr(numbers[i].label.size())), numbers[i].value,
                    numbers[i].value * numbers[i].tolerance);
    }
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()),
              (std::vector<std::string>{"Half-life 10Be(yr)  :   1387000", "Half-life 26Al(yr)  :   705134",
                                        "Constants  :   current", "10Be standard  :   KNSTD (x 0.9042 to 07KNSTD)"}));
}

TEST(CliConstants, UnknownNamesAndOptionsThatDoNotGoTogetherAreRefused)
{
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"exposure", "--be10-standard", "KNSTD07"}, "07KNSTD, KNSTD, NIST_Certified"},
        {{"erosion", "--al26-standard", "07KNSTD"}, "KNSTD, ZAL94, ZAL94N, SMAL11, ASTER, Z92-0222"},
        {{"exposure", "--constants", "newest"}, "original, current"},
        {{"erosion", "--nuclide", "cl36"}, "be10, al26"},
        {{"exposure", "--atmosphere", "pressure"}, "needs"},
        {{"erosion", "--pressure", "850"}, "atmosphere pressure only"},
        {{"exposure", "--geomagnetic", "--atmosphere", "antarctic"}, "geomagnetic"},
        {{"simulate", "--proxy", "p.dat", "--report", "r.txt", "--latitude", "45", "--be10-production", "5"},
         "leave out"},
        {{"simulate", "--proxy", "p.dat", "--report", "r.txt", "--altitude", "3000"}, "latitude"},
        {{"batch", "thickness", "--input", SourceDir() + "/examples/batch/thickness.csv", "--output", "out.csv",
          "--constants", "current"},
         "exposure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1]);
        const auto result = RunQexcli(c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
}

TEST(CliConstants, ErosionRateAndTheSimulationsSiteProductionAreListedWithTheirUnits)
{
    const auto erosion = RunQexcli({"erosion", "--concentration", "500000", "--constants", "current"});
    ASSERT_EQ(erosion.exitCode, 0) << erosion.err;
    const auto lines = Lines(erosion.out);
    ASSERT_GE(lines.size(), 7u);
    const char* labels[] = {"Erosion Rate(m/Myr):   ",         "Internal uncertainty(m/Myr):   ",
                            "External uncertainty(m/Myr):   ", "Erosion Rate(cm/yr):   ",
                            "Internal uncertainty(cm/yr):   ", "External uncertainty(cm/yr):   "};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(lines[i + 1].rfind(labels[i], 0), 0u) << lines[i + 1];
    EXPECT_NEAR(std::stod(lines[1].substr(23)), std::stod(lines[4].substr(23)) * 1e4, 1e-5);
    // Saturated: a message and no line.
    const auto saturated = RunQexcli({"erosion", "--concentration", "1e9"});
    EXPECT_EQ(saturated.exitCode, 1);
    EXPECT_EQ(saturated.out, "");

    // The site at 65 degrees and sea level: 4.01 and 27.9 atoms/g/yr times
    // Stone's 60-degree sea-level factor (1.0020863 for 10Be, 1.0020777 for 26Al).
    TempDir dir;
    const auto simulate = RunQexcli({"simulate", "--proxy", SourceDir() + "/examples/proxy/LR04.dat", "--report",
                                     dir.File("r.txt"), "--single", "--latitude", "65", "--constants", "current"});
    ASSERT_EQ(simulate.exitCode, 0) << simulate.err;
    const auto out = Lines(simulate.out);
    auto value = [&out](const std::string& label) {
        for (const std::string& line : out)
            if (line.rfind(label, 0) == 0)
                return std::stod(line.substr(label.size()));
        return -1.0;
    };
    EXPECT_NEAR(value("Site production 10Be(atoms/g/yr)  :   "), 4.01 * 1.0020863, 1e-5);
    EXPECT_NEAR(value("Site production 26Al(atoms/g/yr)  :   "), 27.9 * 1.0020777, 1e-5);
}

TEST(CliConstants, ABatchMadeWithOtherConstantsNamesThemAndTheVersionInEveryRow)
{
    TempDir dir;
    WriteFile(dir.File("in.csv"), "sample,concentration,constants,be10-standard\n"
                                  "A,500000,,\n"
                                  "B,500000,current,KNSTD\n");
    const auto result = RunQexcli({"batch", "exposure", "--input", dir.File("in.csv"), "--output", dir.File("out.csv")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto rows = Lines(ReadFile(dir.File("out.csv")));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[0].find(",be10-standard,constants,"), std::string::npos) << rows[0];
    // The set is named once, in its input column.
    EXPECT_NE(rows[0].find(",exposure_age_yr,internal_uncertainty_yr,external_uncertainty_yr,"
                           "be10_standard,al26_standard,atmosphere,qex_version,error"),
              std::string::npos)
        << rows[0];
    EXPECT_NE(rows[1].find(",none,original,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find(",none,none,std,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find(",KNSTD,current,"), std::string::npos) << rows[2];
    EXPECT_NE(rows[2].find(",KNSTD,none,std,"), std::string::npos) << rows[2];
    // The same file with --constants current for the rows without their own.
    const auto all = RunQexcli({"batch", "exposure", "--input", dir.File("in.csv"), "--output",
                                dir.File("all.csv"), "--constants", "current"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_NE(ReadFile(dir.File("all.csv")).find(",500000,6000,4.01,0.33,"), std::string::npos);
}

} // namespace
} // namespace qex
