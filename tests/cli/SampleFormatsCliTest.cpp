// qexcli batch on a v3 block (both nuclides, a broken line failing its sample
// alone) and qexcli convert, whose v3 block and CSV give the same ages.

#include "core/CsvTable.h"
#include "tests/cli/RunQexcli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qex {
namespace {

using test::RunQexcli;

// The output's cells of a column, a row each.
std::vector<std::string> Column(const std::string& path, const std::string& name)
{
    CsvTable table;
    std::string error;
    EXPECT_TRUE(ReadCsv(test::ReadFile(path), table, error)) << error;
    std::vector<std::string> cells;
    const std::vector<std::string>& header = table.records.at(0).fields;
    const std::size_t c = std::find(header.begin(), header.end(), name) - header.begin();
    for (std::size_t r = 1; r < table.records.size(); ++r)
        cells.push_back(c < table.records[r].fields.size() ? table.records[r].fields[c] : "missing");
    return cells;
}

TEST(SampleFormatsCli, AV3BlockRunsEachNuclideAndABrokenLineFailsItsSampleAlone)
{
    test::TempDir dir;
    const std::string block = test::ReadFile(test::SourceDir() + "/examples/batch/v3-block.txt");
    test::WriteFile(dir.File("ph1.txt"), block);
    auto run = RunQexcli({"batch", "exposure", "--input", dir.File("ph1.txt"), "--constants", "current",
                          "--output", dir.File("out.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Column(dir.File("out.csv"), "nuclide"), (std::vector<std::string>{"be10", "al26"}));
    const std::vector<std::string> ages = Column(dir.File("out.csv"), "exposure_age_yr");
    ASSERT_EQ(ages.size(), 2u);
    EXPECT_NE(ages[0], ages[1]);

    // A second sample whose nuclide line lost a field: the first still runs.
    test::WriteFile(dir.File("broken.txt"), block + "X 41 -70 91 std 4.5 2.65 1 0 0;\nX Be-10 quartz 1e5 KNSTD;\n");
    run = RunQexcli({"batch", "exposure", "--input", dir.File("broken.txt"), "--constants", "current", "--output",
                     dir.File("broken.csv")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 4 (X): line 5: a nuclide line has 6 fields"), std::string::npos) << run.err;
    EXPECT_EQ(Column(dir.File("broken.csv"), "exposure_age_yr"), (std::vector<std::string>{ages[0], ages[1], ""}));

    // Converted to a v3 block and to QEX's CSV, the expage table gives the same ages.
    for (const char* to : {"v3", "csv"}) {
        SCOPED_TRACE(to);
        const std::string converted = dir.File(std::string("converted.") + to);
        run = RunQexcli({"convert", "--input", test::SourceDir() + "/examples/batch/expage-option1.txt", "--output",
                         converted, "--to", to});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        run = RunQexcli(
            {"batch", "exposure", "--input", converted, "--constants", "current", "--output", dir.File("c.csv")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<std::string> again = Column(dir.File("c.csv"), "exposure_age_yr");
        ASSERT_EQ(again.size(), ages.size());
        for (std::size_t i = 0; i < ages.size(); ++i)
            EXPECT_NEAR(std::stod(again[i]), std::stod(ages[i]), 1e-9 * std::stod(ages[i]));
    }
}

} // namespace
} // namespace qex
