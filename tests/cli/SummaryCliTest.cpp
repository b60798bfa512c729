// qexcli summary and the figures of a summary end to end: one block per
// group of the bundled moraines (run through the batch first, or read from a
// batch output), the inherited boulder named, the plots in PNG and SVG, and
// the files refused with their exit status.

#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace qex::test {
namespace {

const std::string kMoraines = SourceDir() + "/examples/batch/moraines.csv";

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The distinct cells of the file's `group` column (the second).
std::set<std::string> Groups(const std::string& csv)
{
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);
    std::set<std::string> groups;
    while (std::getline(lines, line))
        if (!line.empty())
            groups.insert(line.substr(line.find(',') + 1, line.find(',', line.find(',') + 1) - line.find(',') - 1));
    return groups;
}

TEST(SummaryCli, PrintsOneBlockPerGroupFromSamplesOrFromABatchOutput)
{
    TempDir dir;
    const std::size_t groups = Groups(ReadFile(kMoraines)).size();
    ASSERT_GT(groups, 1u);
    const auto direct = RunQexcli({"summary", "--calculator", "exposure", "--input", kMoraines});
    EXPECT_EQ(direct.exitCode, 0) << direct.err;
    EXPECT_EQ(Count(direct.out, "Group Summary "), groups) << direct.out;
    // The outer moraine's inherited boulder, named with the test's statistic.
    EXPECT_NE(direct.out.find("Outlier:   OM-08 "), std::string::npos) << direct.out;
    EXPECT_NE(direct.out.find("Thinning rate(m/kyr):"), std::string::npos) << direct.out;

    // The same through a batch output file, the GESD and Chauvenet alike; the
    // exposure example has no group column: one block.
    const std::string out = dir.File("moraines-out.csv");
    ASSERT_EQ(RunQexcli({"batch", "exposure", "--input", kMoraines, "--output", out, "--uncertainties"}).exitCode, 0);
    const auto read = RunQexcli({"summary", "--input", out});
    EXPECT_EQ(read.out, direct.out);
    const auto chauvenet = RunQexcli({"summary", "--input", out, "--outliers", "Chauvenet"});
    EXPECT_EQ(Count(chauvenet.out, "Outliers (chauvenet):"), groups) << chauvenet.out;
    const std::string single = dir.File("single.csv");
    ASSERT_EQ(RunQexcli({"batch", "exposure", "--input", SourceDir() + "/examples/batch/exposure.csv", "--output",
                         single, "--uncertainties"})
                  .exitCode,
              0);
    const auto one = RunQexcli({"summary", "--input", single});
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(Count(one.out, "Group Summary "), 1u) << one.out;
}

TEST(SummaryCli, ProbabilityAndTransectPlotsRenderInPngAndSvg)
{
    TempDir dir;
    const std::string out = dir.File("m.csv");
    ASSERT_EQ(RunQexcli({"batch", "exposure", "--input", kMoraines, "--output", out, "--uncertainties"}).exitCode, 0);
    for (const char* kind : {"summary", "transect"})
        for (const char* extension : {".png", ".svg"}) {
            SCOPED_TRACE(std::string(kind) + extension);
            const std::string image = dir.File(std::string(kind) + extension);
            const auto result = RunQexcli({"plot", kind, "--input", out, "--output", image});
            EXPECT_EQ(result.exitCode, 0) << result.err;
            const std::string bytes = ReadFile(image);
            if (std::string(extension) == ".png")
                EXPECT_EQ(bytes.substr(1, 3), "PNG");
            else
                EXPECT_NE(bytes.find("<svg"), std::string::npos);
        }
}

TEST(SummaryCli, RefusesFilesWithoutAgesAndBadOptions)
{
    TempDir dir;
    WriteFile(dir.File("plain.csv"), "sample,be10\nA,1e5\n");
    const std::string png = dir.File("x.png");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"summary", "--input", dir.File("plain.csv")}, 2, "no column of ages"},
        {{"summary", "--input", dir.File("missing.csv")}, 2, "missing.csv"},
        {{"summary", "--input", kMoraines, "--outliers", "grubbs"}, 2, "grubbs"},
        {{"summary", "--input", kMoraines, "--calculator", "simulate"}, 2, "simulate"},
        {{"plot", "transect", "--input", dir.File("plain.csv"), "--output", png}, 2, "no column of ages"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const auto result = RunQexcli(c.args);
        EXPECT_EQ(result.exitCode, c.status);
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    }
    EXPECT_FALSE(FileExists(png));
}

} // namespace
} // namespace qex::test
