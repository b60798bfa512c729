// qexcli plot two-nuclide end to end: a sample file drawn to PNG and SVG,
// and every way a plot is refused, with its exit status and nothing written.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace qex::test {
namespace {

class PlotCli : public testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(m_dir.File("s.csv"), "sample,be10,be10-err,al26,al26-err\n"
                                       "SSC,111756,3409,416017,31939\n"
                                       "T1,250000,6000,1300000,60000\n");
    }
    std::vector<std::string> Plot(std::vector<std::string> more) const
    {
        std::vector<std::string> args = {"plot", "two-nuclide", "--input", m_dir.File("s.csv")};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    TempDir m_dir;
};

TEST_F(PlotCli, DrawsPngAndSvgByTheOutputsExtension)
{
    for (const char* name : {"d.png", "d.svg", "raw.SVG"}) {
        SCOPED_TRACE(name);
        const std::string out = m_dir.File(name);
        const auto result = RunQexcli(Plot({"--output", out, "--be10-production", "11.65", "--al26-production",
                                            "76.85", std::string(name) == "raw.SVG" ? "--raw" : "--normalized"}));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::string bytes = ReadFile(out);
        if (std::string(name) == "d.png") {
            EXPECT_EQ(bytes.substr(1, 3), "PNG");
        } else {
            EXPECT_EQ(bytes.rfind("<?xml", 0), 0u);
            EXPECT_NE(bytes.find("<svg"), std::string::npos);
        }
    }
}

TEST_F(PlotCli, RefusesWhatCannotBeDrawnAndWritesNothing)
{
    WriteFile(m_dir.File("bad.csv"), "sample,be10,be10-err,al26\nA,1e5,3e3,4e5\n");
    WriteFile(m_dir.File("range.csv"), "sample,be10,be10-err,al26,al26-err\nA,0,3e3,4e5,1e4\n");
    WriteFile(m_dir.File("unknown.csv"), "sample,be10,be10-err,al26,al26-err,depth\nA,1e5,3e3,4e5,1e4,2\n");
    const std::string png = m_dir.File("x.png");
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {"no kind", {"plot"}, 2, "two-nuclide"},
        {"an unknown kind", {"plot", "camel", "--output", png}, 2, "camel"},
        {"no output", Plot({}), 2, "--output"},
        {"an output of another format", Plot({"--output", m_dir.File("x.jpg")}), 2, ".png or a .svg"},
        {"the output replacing the input", Plot({"--output", m_dir.File("s.csv")}), 2, ".png or a .svg"},
        {"raw and normalised at once", Plot({"--output", png, "--raw", "--normalized"}), 2, "excludes"},
        {"a production rate out of range", Plot({"--output", png, "--be10-production", "0"}), 2, "be10-production"},
        {"a missing input", {"plot", "two-nuclide", "--input", m_dir.File("none.csv"), "--output", png}, 2,
         "none.csv"},
        {"a row without its 26Al error", {"plot", "two-nuclide", "--input", m_dir.File("bad.csv"), "--output", png},
         2, "line 2 (A): no value in the column 'al26-err'"},
        {"a concentration out of range", {"plot", "two-nuclide", "--input", m_dir.File("range.csv"), "--output", png},
         2, "be10"},
        {"an unknown column", {"plot", "two-nuclide", "--input", m_dir.File("unknown.csv"), "--output", png}, 2,
         "'depth'"},
        {"an output folder that is missing", Plot({"--output", m_dir.File("no/x.png")}), 1,
         "Can not write the image file!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = RunQexcli(c.args);
        EXPECT_EQ(result.exitCode, c.status) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_FALSE(FileExists(png));
    }
    // An input linked under an image's name is still the input.
    ASSERT_EQ(symlink(m_dir.File("s.csv").c_str(), m_dir.File("s.svg").c_str()), 0);
    const auto same = RunQexcli(Plot({"--output", m_dir.File("s.svg")}));
    EXPECT_EQ(same.exitCode, 2);
    EXPECT_NE(same.err.find("may not replace an input"), std::string::npos) << same.err;
    EXPECT_EQ(ReadFile(m_dir.File("s.csv")).substr(0, 6), "sample");
}

} // namespace
} // namespace qex::test
