// CSV as spreadsheets write it: quotes, CRLF, a byte-order mark, ';' with a
// decimal comma; and text that is not CSV refused naming its line.

#include "batch/BatchRun.h"
#include "core/CsvTable.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

std::vector<std::vector<std::string>> Fields(const CsvTable& table)
{
    std::vector<std::vector<std::string>> fields;
    for (const CsvRecord& record : table.records)
        fields.push_back(record.fields);
    return fields;
}

TEST(CsvTable, ReadsEveryDialectASpreadsheetWrites)
{
    const std::vector<std::vector<std::string>> expected = {
        {"sample", "latitude"}, {"B, \"big\"\nboulder", "46.5"}, {"", "7"}};
    struct Case {
        const char* name;
        const char* text;
        char separator;
    };
    const Case cases[] = {
        {"LF", "sample,latitude\n\"B, \"\"big\"\"\nboulder\",46.5\n,7\n", ','},
        {"CRLF, no last line end", "sample,latitude\r\n\"B, \"\"big\"\"\nboulder\",46.5\r\n,7", ','},
        {"BOM and blank lines", "\xEF\xBB\xBFsample,latitude\n\n\"B, \"\"big\"\"\nboulder\",46.5\n\n,7\n\n", ','},
        {"semicolons", "sample;latitude\r\n\"B, \"\"big\"\"\nboulder\";46.5\r\n;7\r\n", ';'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CsvTable table;
        std::string error;
        ASSERT_TRUE(ReadCsv(c.text, table, error)) << error;
        EXPECT_EQ(table.separator, c.separator);
        EXPECT_EQ(Fields(table), expected);
        EXPECT_EQ(table.records.back().line, c.name[0] == 'B' ? 6 : 4); // the quoted line end counts
    }
}

TEST(CsvTable, RefusesWhatIsNotCsvNamingTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a,b\n\"open,1\n", "line 2: a quoted field is not closed"},
        {"a,b\n1,x\"y\"\n", "line 2: a quote inside a field that does not start with one"},
        {"a,b\n\"x\"y,1\n", "line 2: text after the closing quote of a field"},
    };
    CsvTable table;
    std::string error;
    for (const auto& [text, why] : cases) {
        EXPECT_FALSE(ReadCsv(text, table, error));
        EXPECT_EQ(error, why);
    }
    EXPECT_FALSE(ReadCsv(std::string_view("a,b\n1\0,2\n", 9), table, error));
    EXPECT_EQ(error, "the file holds a NUL byte: it is not text");
}

TEST(CsvTable, WritesFieldsThatReadBackAsTheyWere)
{
    EXPECT_EQ(CsvLine({"a", "b,c", "say \"hi\"", " pad", "two\nlines", ""}),
              "a,\"b,c\",\"say \"\"hi\"\"\",\" pad\",\"two\nlines\",\n");
    // A field that begins with a byte-order mark keeps it: the mark is quoted,
    // so the reader does not take it for the file's own.
    CsvTable table;
    std::string error;
    ASSERT_TRUE(ReadCsv(CsvLine({"\xEF\xBB\xBFname", "x"}), table, error)) << error;
    EXPECT_EQ(table.records.at(0).fields.at(0), "\xEF\xBB\xBFname");
    // Blank lines before the header do not name the separator, and a lone
    // field with a tab or a blank is not split when it is read back.
    ASSERT_TRUE(ReadCsv("\r\nname\tvalue\n", table, error)) << error;
    EXPECT_EQ(table.records.at(0).fields, (std::vector<std::string>{"name", "value"}));
    for (const std::string lone : {"a\tb", "a b"}) {
        ASSERT_TRUE(ReadCsv(CsvLine({lone}), table, error)) << error;
        EXPECT_EQ(table.records.at(0).fields, std::vector<std::string>{lone});
    }
}

// OWASP's rule against CSV injection: text a spreadsheet would run as a
// formula is written with a leading ', numbers as they are.
TEST(CsvTable, CellsASpreadsheetWouldRunAreWrittenAsText)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"=1+2", "'=1+2"},
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"+cmd", "'+cmd"},
        {"-2+3", "'-2+3"},
        {"\t=1", "'\t=1"},
        {"\r=1", "\"'\r=1\""},
        {"-", "'-"},
        {"-1.5", "-1.5"},
        {"+5", "+5"},
        {"-2.5e-3", "-2.5e-3"},
        {"M1-03", "M1-03"},
        {"", ""},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(CsvField(text), field) << text;
}

// A row with fewer fields than the header names has lost some: it fails,
// unless it is the last line and nothing follows it, not even a line end.
TEST(CsvTable, AShortRowFailsUnlessItEndsTheFileWithoutALineEnd)
{
    const std::string why = "the row has 2 fields; the header names 3 columns";
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"sample,thickness,density\nA,2,2.7\nB,3\nC,4,2.6\n", {"", why, ""}},
        {"sample,thickness,density\nA,2,2.7\nB,3\n", {"", why}},
        {"sample,thickness,density\nA,2,2.7\nB,3", {"", ""}},
        {"sample,thickness,density,,\nA,2,2.7\n", {""}}, // a spreadsheet's empty columns
        {"sample,thickness,density\nA,2,\n", {""}},      // an empty cell takes the default
    };
    for (const auto& [text, errors] : cases) {
        BatchJob job;
        std::string error;
        ASSERT_TRUE(OpenBatchText("thickness", text, ".", job, error)) << error;
        std::vector<std::string> got;
        for (const BatchInputRow& row : job.rows)
            got.push_back(row.error);
        EXPECT_EQ(got, errors) << text;
    }
}

// A spreadsheet export with ';' and decimal commas gives the numbers the
// plain file gives: thickness factors (1 - exp(-x)) / x, x = rho T / Lambda.
TEST(CsvTable, ASemicolonFileReadsItsDecimalCommas)
{
    BatchJob job;
    std::string error;
    ASSERT_TRUE(OpenBatchText("thickness", "\xEF\xBB\xBFSample;Thickness;Density\r\nA;4,5;2,5\r\nB;10;2\r\n", ".",
                              job, error))
        << error;
    const BatchOutcome outcome = RunBatch(job, 1, false);
    ASSERT_EQ(outcome.failed, 0);
    // x = 4.5 * 2.5 / 150 = 0.075: 0.963420; x = 10 * 2 / 150: 0.936200.
    EXPECT_EQ(outcome.rows[0].result.inputs, (std::vector<std::string>{"4.5", "2.5", "150"}));
    EXPECT_EQ(OutputCells(outcome.rows[0].result.results, CellDigits::List), std::vector<std::string>{"0.963420"});
    EXPECT_EQ(OutputCells(outcome.rows[1].result.results, CellDigits::List), std::vector<std::string>{"0.936200"});
}

} // namespace
} // namespace qex
