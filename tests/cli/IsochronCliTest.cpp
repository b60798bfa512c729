// qexcli isochron end to end on a horizon of the burial forward model written
// here: the age, the Monte Carlo's reproducible bytes, the batch row naming a
// file of samples, the refusals, and the diagram's isochron.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace qex::test {
namespace {

// Inheritance at R0 = 6.75 decayed for 1.2 Myr, half-lives 1.387 and 0.705 Myr.
constexpr double kYears = 1.2e6;
std::string Horizon(int samples)
{
    const double l10 = std::log(2.0) / 1387000.0, l26 = std::log(2.0) / 705000.0;
    std::string text = "sample,be10,be10-err,al26,al26-err\n";
    for (int i = 1; i <= samples; ++i) {
        const double n10 = 50000.0 * i * std::exp(-l10 * kYears);
        const double n26 = 6.75 * 50000.0 * i * std::exp(-l26 * kYears);
        char row[160];
        std::snprintf(row, sizeof row, "S%d,%.17g,%.17g,%.17g,%.17g\n", i, n10, 0.03 * n10, n26, 0.05 * n26);
        text += row;
    }
    return text;
}

class IsochronCli : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(m_dir.File("h.csv"), Horizon(6));
        WriteFile(m_dir.File("two.csv"), Horizon(2));
    }
    std::vector<std::string> Isochron(const std::string& file, std::vector<std::string> more = {},
                                      const std::string& ratio = "6.75") const
    {
        std::vector<std::string> args = {"isochron",         "--input",         m_dir.File(file), "--production-ratio",
                                         ratio,              "--be10-half-life", "1387000",        "--al26-half-life",
                                         "705000"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    TempDir m_dir;
};

TEST_F(IsochronCli, DatesTheHorizonAndRepeatsItsDraws)
{
    const auto json = RunQexcli(Isochron("h.csv", {"--json", "--monte-carlo", "300", "--seed", "9"}));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json document = nlohmann::json::parse(json.out);
    const nlohmann::json& results = document["results"];
    EXPECT_NEAR(results["isochron_burial_age_kyr"]["value"].get<double>(), kYears / 1000.0, 1e-6 * kYears);
    EXPECT_NEAR(results["mc_burial_age_kyr_median"]["value"].get<double>(), kYears / 1000.0, 0.1 * kYears / 1000.0);
    EXPECT_DOUBLE_EQ(results["mc_age_percent"]["value"].get<double>() +
                         results["mc_not_buried_percent"]["value"].get<double>() +
                         results["mc_no_fit_percent"]["value"].get<double>(),
                     100.0);
    const auto lines = RunQexcli(Isochron("h.csv", {"--monte-carlo", "300", "--seed", "9"}));
    EXPECT_EQ(lines.exitCode, 0);
    EXPECT_EQ(RunQexcli(Isochron("h.csv", {"--monte-carlo", "300", "--seed", "9"})).out, lines.out);
    EXPECT_NE(lines.out.find("Monte Carlo (300 draws, seed 9)"), std::string::npos) << lines.out;
}

TEST_F(IsochronCli, RefusesAHorizonWithoutAnAge)
{
    const struct {
        const char* what;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {"two samples", Isochron("two.csv"), 1, "at least 3 samples"},
        {"a slope above R0", Isochron("h.csv", {}, "2"), 1, "no burial"},
        {"no file", Isochron("none.csv"), 1, "none.csv"},
        {"R0 out of range", Isochron("h.csv", {}, "0.5"), 2, "--production-ratio"},
    };
    for (const auto& c : cases) {
        const auto result = RunQexcli(c.args);
        EXPECT_EQ(result.exitCode, c.status) << c.what;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << c.what << ": " << result.err;
    }
}

TEST_F(IsochronCli, BatchRowNamesItsFileOfSamples)
{
    WriteFile(m_dir.File("horizons.csv"), "sample,input,production-ratio,be10-half-life,al26-half-life\n"
                                          "H1,h.csv,6.75,1387000,705000\nH2,two.csv,6.75,1387000,705000\n");
    const auto result = RunQexcli({"batch", "isochron", "--input", m_dir.File("horizons.csv"), "--output",
                                   m_dir.File("out.csv")});
    EXPECT_EQ(result.exitCode, 1) << "one row failed";
    const std::vector<std::string> rows = Lines(ReadFile(m_dir.File("out.csv")));
    ASSERT_EQ(rows.size(), 3u);
    auto cells = [](const std::string& row) {
        std::vector<std::string> out(1);
        for (char ch : row)
            if (ch == ',')
                out.emplace_back();
            else
                out.back().push_back(ch);
        return out;
    };
    const std::vector<std::string> header = cells(rows[0]);
    const auto column = std::find(header.begin(), header.end(), "isochron_burial_age_kyr") - header.begin();
    ASSERT_LT(static_cast<std::size_t>(column), header.size());
    EXPECT_NEAR(std::stod(cells(rows[1]).at(static_cast<std::size_t>(column))), kYears / 1000.0, 1e-6 * kYears);
    EXPECT_NE(rows[2].find("at least 3 samples"), std::string::npos) << rows[2];
}

TEST_F(IsochronCli, DiagramDrawsTheIsochronInPngAndSvg)
{
    for (const char* name : {"d.png", "d.svg"}) {
        const auto result = RunQexcli({"plot", "two-nuclide", "--input", m_dir.File("h.csv"), "--output",
                                       m_dir.File(name), "--isochron", "--be10-production", "10",
                                       "--al26-production", "67.5"});
        EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
        EXPECT_FALSE(ReadFile(m_dir.File(name)).empty()) << name;
    }
    const auto refused = RunQexcli({"plot", "two-nuclide", "--input", m_dir.File("two.csv"), "--output",
                                    m_dir.File("x.svg"), "--isochron"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("at least 3 samples"), std::string::npos) << refused.err;
    EXPECT_FALSE(FileExists(m_dir.File("x.svg")));
}

} // namespace
} // namespace qex::test
